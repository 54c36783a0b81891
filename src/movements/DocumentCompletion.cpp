#include "movements/DocumentCompletion.h"

#include "platform/db/Session.h"
#include "platform/numbers/Format.h"
#include "platform/numbers/Rounding.h"

#include <cmath>
#include <stdexcept>

namespace movements {

namespace {

db::Params keyOf(const HeaderKey& k) {
    return {k.empresa, k.documento, k.consecutivo};
}

const QString kWhere = QStringLiteral(" WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?");

} // namespace

double DocumentCompletion::defaultRetentionPercent(db::Session& s, const HeaderKey& k) {
    const QVariant selfWithholding = s.scalar(
        QStringLiteral("SELECT P.AUTERRETENEDOR FROM MOVIMIENTO M JOIN PROVEEDORES P ON P.NIT = M.CLIENTE "
                       "WHERE M.EMPRESA = ? AND M.DOCUMENTO = ? AND M.CONSECUTIVO = ?"),
        keyOf(k));
    return selfWithholding.toString() == QStringLiteral("S") ? 2.5 : 0.0;
}

HeaderFields DocumentCompletion::headerFields(db::Session& s, const HeaderKey& k) {
    const auto r = s.first(QStringLiteral("SELECT DESPACHARA, PLAZO, FLETE, RETENCION, RETEICA, RETEIVA, "
                                          "OBSERVACIONES FROM MOVIMIENTO") +
                               kWhere,
                           keyOf(k));
    if (!r) return {};
    const auto number = [](const QVariant& v) {
        return v.isNull() ? QString() : numbers::formatValue(v, QStringLiteral("###,###.00"));
    };
    return {r->at(0).toString().trimmed(), r->at(1).isNull() ? QString() : QString::number(r->at(1).toInt()),
            number(r->at(2)),   number(r->at(3)), number(r->at(4)), number(r->at(5)), r->at(6).toString()};
}

void DocumentCompletion::saveHeaderFields(db::Session& s, const HeaderKey& k, const HeaderFields& f) {
    // caption: the field and its verb, "La dirección no puede".
    const auto text = [](const QString& typed, int width, const QString& caption) -> QVariant {
        const QString t = typed.trimmed();
        if (t.size() > width)
            throw std::invalid_argument(
                QStringLiteral("%1 tener más de %2 caracteres").arg(caption).arg(width).toStdString());
        return t.isEmpty() ? QVariant() : QVariant(t);
    };
    const auto number = [](const QString& typed, const QString& caption) -> QVariant {
        if (typed.trimmed().isEmpty()) return {};
        const auto value = numbers::parseNumber(typed);
        if (!value || !std::isfinite(*value))
            throw std::invalid_argument(QStringLiteral("%1 \"%2\" no es un número").arg(caption, typed.trimmed()).toStdString());
        return *value;
    };
    QVariant plazo;
    if (!f.plazo.trimmed().isEmpty()) {
        bool ok = false;
        const int days = f.plazo.trimmed().toInt(&ok);
        if (!ok || days < 0)
            throw std::invalid_argument(QStringLiteral("El plazo debe ser un número entero de días").toStdString());
        plazo = days;
    }
    db::Params p{text(f.despachara, 60, QStringLiteral("La dirección de despacho no puede")),
                 plazo,
                 number(f.flete, QStringLiteral("El flete")),
                 number(f.retencion, QStringLiteral("La retención")),
                 number(f.reteica, QStringLiteral("La retención de ICA")),
                 number(f.reteiva, QStringLiteral("La retención de IVA")),
                 text(f.observaciones, 160, QStringLiteral("Las observaciones no pueden"))};
    p.add(k.empresa).add(k.documento).add(k.consecutivo);
    s.execute(QStringLiteral("UPDATE MOVIMIENTO SET DESPACHARA = ?, PLAZO = ?, FLETE = ?, RETENCION = ?, "
                             "RETEICA = ?, RETEIVA = ?, OBSERVACIONES = ?") +
                  kWhere,
              p);
}

double DocumentCompletion::readPercent(const QString& typed) {
    return numbers::parseNumber(typed).value_or(0.0);
}

double DocumentCompletion::retention(double subtotal, double discount, double percent) {
    if (percent <= 0) return 0;
    return numbers::roundHalfEven((subtotal - discount) * percent / 100);
}

void DocumentCompletion::applyRetention(db::Session& s, const HeaderKey& k, double percent) {
    const auto totals =
        s.first(QStringLiteral("SELECT SUBTOTAL, DESCUENTO FROM MOVIMIENTO") + kWhere, keyOf(k));
    if (!totals) return;
    const double value = retention(totals->at(0).toDouble(), totals->at(1).toDouble(), percent);
    db::Params params{value};
    params.add(k.empresa).add(k.documento).add(k.consecutivo);
    s.execute(QStringLiteral("UPDATE MOVIMIENTO SET RETENCION = ?") + kWhere, params);
}

void DocumentCompletion::finishOrderReceipt(db::Session& s, const HeaderKey& k, const DocumentType& type) {
    const QVariant order = s.scalar(QStringLiteral("SELECT ORDENCOMPRASALIDA FROM MOVIMIENTO") + kWhere, keyOf(k));
    if (order.isNull() || !order.isValid() || order.toInt() <= 0) return;
    db::Transaction t(s);
    if (type.ordenCompra == QStringLiteral("S")) {
        // The received quantity of each ordered item, over every document that receives the order.
        s.execute(QStringLiteral(
                      "UPDATE ORDENCOMPRADETALLE OD SET RECIBIDA = ("
                      "  SELECT SUM(A.CANTIDADRECIBIDA) FROM MOVIMIENTOACTUALIZAR A"
                      "   WHERE A.EMPRESA = OD.EMPRESA AND A.PRODUCTO = OD.PRODUCTO AND A.ORDENCOMPRA = OD.CONSECUTIVO) "
                      "WHERE OD.EMPRESA = ? AND OD.CONSECUTIVO = ? AND OD.PRODUCTO IN ("
                      "  SELECT PRODUCTO FROM MOVIMIENTODETALLE WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?)"),
                  {k.empresa, order, k.empresa, k.documento, k.consecutivo});
        s.execute(QStringLiteral("UPDATE MOVIMIENTO SET STATUS = 'A'") + kWhere, keyOf(k));
    }
    s.execute(QStringLiteral("UPDATE ORDENCOMPRA SET STATUS = 'C' WHERE EMPRESA = ? AND CONSECUTIVO = ?"),
              {k.empresa, order});
    t.commit();
}

void DocumentCompletion::close(db::Session& s, const HeaderKey& k) {
    s.execute(QStringLiteral("UPDATE MOVIMIENTO SET STATUS = 'C'") + kWhere, keyOf(k));
}

bool DocumentCompletion::postsToAccounting(const DocumentType& type) {
    return type.cuentas == QStringLiteral("S") || type.cuentas == QStringLiteral("I");
}

PostingRequest DocumentCompletion::postingRequest(db::Session& s, const HeaderKey& k, bool costOfSales) {
    PostingRequest r{.document = k, .costOfSales = costOfSales};
    r.fecha = s.scalar(QStringLiteral("SELECT FECHA FROM MOVIMIENTO") + kWhere, keyOf(k)).toDateTime();
    if (const auto company = s.first(
            QStringLiteral("SELECT CUENTARETENCIONV, CUENTARETENCIONC FROM EMPRESAS WHERE EMPRESA = ?"), {k.empresa})) {
        r.cuentaRetencionV = company->at(0).toString();
        r.cuentaRetencionC = company->at(1).toString();
    }
    return r;
}

} // namespace movements
