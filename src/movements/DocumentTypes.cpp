#include "movements/DocumentTypes.h"

#include "platform/db/Row.h"
#include "platform/db/Session.h"

namespace movements {

namespace {

const QString kColumns = QStringLiteral(
    "DOCUMENTO, NOMBRE, OPERADOR, ENTRA, CENTROCOSTOS, ORDENCOMPRA, SUBPRODUCTO, CONTROLASALDO, CUENTAS, "
    "MONEDA, INFORME");

} // namespace

DocumentType DocumentType::fromRow(const db::Row& r) {
    DocumentType t;
    t.documento = r[QStringLiteral("DOCUMENTO")].toString();
    t.nombre = r[QStringLiteral("NOMBRE")].toString();
    t.operador = r[QStringLiteral("OPERADOR")].toString();
    t.entra = r[QStringLiteral("ENTRA")].toString();
    t.centroCostos = r[QStringLiteral("CENTROCOSTOS")].toString();
    t.ordenCompra = r[QStringLiteral("ORDENCOMPRA")].toString();
    t.subproducto = r[QStringLiteral("SUBPRODUCTO")].toString();
    t.controlaSaldo = r[QStringLiteral("CONTROLASALDO")].toString();
    t.cuentas = r[QStringLiteral("CUENTAS")].toString();
    t.moneda = r[QStringLiteral("MONEDA")].toString();
    t.informe = r[QStringLiteral("INFORME")].toInt();
    return t;
}

std::optional<DocumentType> DocumentType::byCode(db::Session& session, const QString& code) {
    const auto row =
        session.first(QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM DOCUMENTOS WHERE DOCUMENTO = ?"),
                      {code});
    if (!row) return std::nullopt;
    return fromRow(*row);
}

std::vector<DocumentType> documentTypesForUser(db::Session& session, const QString& userName,
                                               const QString& userType) {
    const bool everything = userName.trimmed().compare(QStringLiteral("ADMIN"), Qt::CaseInsensitive) == 0 ||
                            userType.trimmed() == QStringLiteral("T");
    const QString sql = QStringLiteral("SELECT ") + kColumns + QStringLiteral(" FROM DOCUMENTOS WHERE DOCUMENTO <> 'POS'") +
                        (everything ? QString() : QStringLiteral(" AND ENTRA = ?")) +
                        QStringLiteral(" ORDER BY DOCUMENTO");
    std::vector<DocumentType> types;
    for (const db::Row& r : session.all(sql, everything ? db::Params{} : db::Params{userType.trimmed()}))
        types.push_back(DocumentType::fromRow(r));
    return types;
}

} // namespace movements
