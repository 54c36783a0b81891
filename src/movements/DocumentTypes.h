#pragma once
// A document type (DOCUMENTOS) as the movement windows and rules read it, found by its code, and the
// list of types a user may open documents of.

#include <QString>
#include <optional>
#include <vector>

namespace db {
class Row;
class Session;
} // namespace db

namespace movements {

struct DocumentType {
    QString documento;     // the code: what every document stores and every window finds it by
    QString nombre;
    QString operador;      // "S" adds stock, "R" removes it, "N" moves no quantity
    QString entra;         // kind: "V" sale, "C" purchase, "I" inventory, "S" production issue, ...
    QString centroCostos;  // "S": lines carry a cost centre
    QString ordenCompra;   // "S": received against a purchase order
    QString subproducto;   // "S": lines work with sub-items
    QString controlaSaldo; // "S": an issue may not take more than the warehouse holds
    QString cuentas;       // "S" or "I": the document is posted to accounting
    QString moneda;
    int informe = 0;       // print layout

    bool adds() const { return operador == QStringLiteral("S"); }
    bool removes() const { return operador == QStringLiteral("R"); }

    static DocumentType fromRow(const db::Row& row);
    // nullopt when no type has that code.
    static std::optional<DocumentType> byCode(db::Session& session, const QString& code);
};

// The document types the chooser offers a user, in code order. The administrator ("ADMIN") and users
// of type "T" see every type except the point-of-sale documents ("POS"), which that system writes
// itself; any other user sees only the types whose kind (ENTRA) equals the user's type (ACTIVO),
// from the first display on.
std::vector<DocumentType> documentTypesForUser(db::Session& session, const QString& userName,
                                               const QString& userType);

} // namespace movements
