#pragma once
// The shared data module every window reaches: the inventory connection DbAlmacen, the ledger
// connection OrvelDb (opened on first use), the current user, the menu rows and the company profile,
// and the shared helpers (NIT check digit, barcode drawing, audit-log entry).

#include "app/LoginFlow.h"
#include "app/MenuTree.h"
#include "platform/db/ConnectionParams.h"
#include "platform/db/Session.h"

#include <QByteArray>
#include <QDateTime>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QPainter;

namespace app {

struct CompanyProfile {
    double nit = 0;
    QString nombre;
    QString direccion;
    QString telefonos;
    QString email;
    QByteArray logo;
};

class TDMGeneral : public QObject {
    Q_OBJECT
public:
    // Opens DbAlmacen; throws db::DbError with the engine's text when it cannot connect.
    TDMGeneral(const db::ConnectionParams& inventory, const db::ConnectionParams& ledger, QObject* parent = nullptr);
    ~TDMGeneral() override;

    // The one instance of the running program (set by the constructor).
    static TDMGeneral* instance();

    db::Session& DbAlmacen() { return *almacen_; }
    // Connects on first use; throws db::DbError when the ledger cannot be reached.
    db::Session& OrvelDb();
    const db::ConnectionParams& ledgerParams() const { return ledgerParams_; }

    // The current user; empty until the first successful login.
    const std::optional<UserRow>& currentUser() const { return currentUser_; }
    void setCurrentUser(const UserRow& user);

    std::vector<ProgramRow> programs() { return MenuTree::readPrograms(*almacen_); }
    std::optional<QString> permissions() const;
    CompanyProfile companyProfile();

    // Status text of the main window: NOMBRE + "  Nit : " + NIT with "###,###".
    QString statusText();

    static int DigitoVerificacion(const QString& nit);
    // Draws the Interleaved 2 of 5 barcode of a digit string; throws std::invalid_argument for any
    // other character.
    static void CreaCodigo(const QString& code, QPainter& canvas);
    // The audit-log entry of document windows. It stores nothing: the LOG table stays empty.
    static void EscribeLog(const QString& userCode, const QString& action, const QDateTime& moment);

signals:
    void currentUserChanged();

private:
    std::unique_ptr<db::Session> almacen_;
    std::unique_ptr<db::Session> orvel_;
    db::ConnectionParams ledgerParams_;
    std::optional<UserRow> currentUser_;
};

} // namespace app
