#include "movements/HeaderRules.h"

#include "platform/db/Session.h"

namespace movements {

namespace {

QString notANumber(const QString& typed) {
    return QStringLiteral("'%1' no es un número de documento válido").arg(typed.trimmed());
}

bool exists(db::Session& s, const HeaderKey& k, int number) {
    return s.first(QStringLiteral("SELECT 1 FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
                   {k.empresa, k.documento, number})
        .has_value();
}

} // namespace

std::optional<int> HeaderRules::readNumber(const QString& typed) {
    bool ok = false;
    const int n = typed.trimmed().toInt(&ok);
    if (!ok || n <= 0) return std::nullopt;
    return n;
}

QString HeaderRules::hasLinesMessage(int number) {
    return QStringLiteral("El Documento No. :  %1  Tiene Movimiento por lo que no puede ser !!! BORRADO ¡¡¡")
        .arg(number);
}

QString HeaderRules::remove(db::Session& s, const HeaderKey& k) {
    db::Transaction t(s);
    const bool hasLines =
        s.first(QStringLiteral(
                    "SELECT FIRST 1 1 FROM MOVIMIENTODETALLE WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
                {k.empresa, k.documento, k.consecutivo})
            .has_value();
    if (hasLines) return hasLinesMessage(k.consecutivo);
    const int deleted =
        s.execute(QStringLiteral("DELETE FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
                  {k.empresa, k.documento, k.consecutivo});
    if (deleted == 0) return kNotFound;
    t.commit();
    return {};
}

QString HeaderRules::renumber(db::Session& s, const HeaderKey& k, const QString& typed) {
    const auto number = readNumber(typed);
    if (!number) return notANumber(typed);
    if (*number == k.consecutivo) return {};
    db::Transaction t(s);
    if (!exists(s, k, k.consecutivo)) return kNotFound;
    if (exists(s, k, *number))
        return QStringLiteral("El documento No. %1 ya existe; elija otro número").arg(*number);
    const db::Params params{*number, k.empresa, k.documento, k.consecutivo};
    s.execute(QStringLiteral(
                  "UPDATE MOVIMIENTO SET CONSECUTIVO = ? WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
              params);
    s.execute(QStringLiteral("UPDATE MOVIMIENTODETALLE SET CONSECUTIVO = ? "
                             "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
              params);
    t.commit();
    return {};
}

std::optional<int> HeaderRules::findByNumber(db::Session& s, const QString& empresa, const QString& documento,
                                             const QString& typed, QString* refusal) {
    const auto number = readNumber(typed);
    if (!number) {
        *refusal = notANumber(typed);
        return std::nullopt;
    }
    if (!exists(s, {empresa, documento, 0}, *number)) {
        *refusal = kNotFound;
        return std::nullopt;
    }
    return number;
}

std::optional<int> HeaderRules::findByInvoice(db::Session& s, const QString& empresa, const QString& documento,
                                              const QString& typed, QString* refusal) {
    const auto number = readNumber(typed);
    if (!number) {
        *refusal = notANumber(typed);
        return std::nullopt;
    }
    const QVariant found = s.scalar(
        QStringLiteral("SELECT MIN(CONSECUTIVO) FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ? AND FACTURA = ?"),
        {empresa, documento, *number});
    if (found.isNull() || !found.isValid()) {
        *refusal = kNotFound;
        return std::nullopt;
    }
    return found.toInt();
}

int HeaderRules::invoiceCount(db::Session& s, const QVariant& factura, const QVariant& cliente,
                              const QString& documento) {
    return s.scalar(QStringLiteral("SELECT COUNT(FACTURA) FROM MOVIMIENTO WHERE FACTURA = ? AND CLIENTE = ? AND "
                                   "DOCUMENTO = ?"),
                    {factura, cliente, documento})
        .toInt();
}

QString HeaderRules::duplicateInvoiceMessage(int count, const QVariant& factura) {
    return QStringLiteral("Existen %1 Facuras en el sistema : [%2]").arg(count).arg(factura.toString());
}

QVariant HeaderRules::invoiceDateOnPost(const QVariant& fechaFactura, const QVariant& fecha) {
    if (fecha.isNull() || !fecha.isValid()) return fechaFactura;
    if (fechaFactura.isNull() || !fechaFactura.isValid() ||
        fechaFactura.toDateTime() < fecha.toDateTime())
        return fecha;
    return fechaFactura;
}

} // namespace movements
