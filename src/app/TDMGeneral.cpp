#include "app/TDMGeneral.h"

#include "platform/report/Barcode.h"
#include "app/NitCheckDigit.h"
#include "platform/numbers/Format.h"

namespace app {

namespace {
TDMGeneral* g_instance = nullptr;
}

TDMGeneral::TDMGeneral(const db::ConnectionParams& inventory, const db::ConnectionParams& ledger, QObject* parent)
    : QObject(parent), almacen_(db::Session::attach(inventory)), ledgerParams_(ledger) {
    g_instance = this;
}

TDMGeneral::~TDMGeneral() {
    if (g_instance == this) g_instance = nullptr;
}

TDMGeneral* TDMGeneral::instance() { return g_instance; }

db::Session& TDMGeneral::OrvelDb() {
    if (!orvel_) orvel_ = db::Session::attach(ledgerParams_);
    return *orvel_;
}

void TDMGeneral::setCurrentUser(const UserRow& user) {
    currentUser_ = user;
    emit currentUserChanged();
}

std::optional<QString> TDMGeneral::permissions() const {
    if (!currentUser_) return std::nullopt;
    return MenuTree::readPermissions(*almacen_, currentUser_->codigo);
}

CompanyProfile TDMGeneral::companyProfile() {
    CompanyProfile p;
    auto r = almacen_->first(
        QStringLiteral("SELECT FIRST 1 NIT, NOMBRE, DIRECCION, TELEFONOS, EMAIL, LOGO FROM REGISTRO"));
    if (!r) return p;
    p.nit = r->number(QStringLiteral("NIT"));
    p.nombre = r->text(QStringLiteral("NOMBRE"));
    p.direccion = r->text(QStringLiteral("DIRECCION"));
    p.telefonos = r->text(QStringLiteral("TELEFONOS"));
    p.email = r->text(QStringLiteral("EMAIL"));
    p.logo = (*r)[QStringLiteral("LOGO")].toByteArray();
    return p;
}

QString TDMGeneral::statusText() {
    const CompanyProfile p = companyProfile();
    return p.nombre + QStringLiteral("  Nit : ") + numbers::formatMask(p.nit, QStringLiteral("###,###"));
}

int TDMGeneral::DigitoVerificacion(const QString& nit) { return NitCheckDigit::compute(nit); }

void TDMGeneral::CreaCodigo(const QString& code, QPainter& canvas) { report::Barcode::draw(canvas, code); }

void TDMGeneral::EscribeLog(const QString&, const QString&, const QDateTime&) {}

} // namespace app
