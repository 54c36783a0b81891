#include "movements/OrderLoading.h"

#include "platform/db/DbError.h"
#include "platform/db/Row.h"
#include "platform/db/Session.h"

namespace movements {

namespace {

QVariant orderOf(db::Session& s, const HeaderKey& k) {
    return s.scalar(QStringLiteral("SELECT ORDENCOMPRASALIDA FROM MOVIMIENTO "
                                   "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
                    {k.empresa, k.documento, k.consecutivo});
}

} // namespace

bool OrderLoading::orderExists(db::Session& s, const HeaderKey& k) {
    const QVariant order = orderOf(s, k);
    if (order.isNull() || !order.isValid()) return false;
    return s.first(QStringLiteral("SELECT 1 FROM ORDENCOMPRA WHERE EMPRESA = ? AND CONSECUTIVO = ?"),
                   {k.empresa, order})
        .has_value();
}

OrderLoadResult OrderLoading::loadPending(db::Session& s, LineRules& rules, const HeaderKey& k,
                                          const LineOptions& options, PendingFrom pendingFrom) {
    if (!orderExists(s, k)) throw LineRefused(kNoOrder);
    const QVariant order = orderOf(s, k);
    // What is still pending, with the quantity the documents that receive this order already hold:
    // every document type that receives against orders counts, not one fixed code.
    const auto pending = s.all(
        QStringLiteral(
            "SELECT D.LINEA, D.PRODUCTO, D.CANTIDAD, D.PRECIOUNIDAD, D.UNIDADCOMPRA, D.DESCUENTO, O.CENTROCOSTOS, "
            "  D.RECIBIDA, "
            "  (SELECT SUM(L.CANTIDAD) FROM MOVIMIENTODETALLE L"
            "     JOIN MOVIMIENTO M ON M.EMPRESA = L.EMPRESA AND M.DOCUMENTO = L.DOCUMENTO"
            "                      AND M.CONSECUTIVO = L.CONSECUTIVO"
            "     JOIN DOCUMENTOS T ON T.DOCUMENTO = M.DOCUMENTO"
            "    WHERE M.EMPRESA = D.EMPRESA AND M.ORDENCOMPRASALIDA = D.CONSECUTIVO"
            "      AND L.PRODUCTO = D.PRODUCTO AND T.ORDENCOMPRA = 'S') "
            "FROM ORDENCOMPRADETALLE D JOIN ORDENCOMPRA O ON O.EMPRESA = D.EMPRESA AND O.CONSECUTIVO = D.CONSECUTIVO "
            "WHERE D.EMPRESA = ? AND D.CONSECUTIVO = ? AND (D.CANTIDAD > D.RECIBIDA OR D.RECIBIDA IS NULL) "
            "ORDER BY D.LINEA"),
        {k.empresa, order});
    OrderLoadResult result;
    for (const db::Row& r : pending) {
        MovementLine line;
        line.producto = r.at(1).toInt();
        const bool fromOrder = pendingFrom == PendingFrom::OrderReceived;
        line.cantidad = r.at(2).toDouble() - (fromOrder ? r.at(7) : r.at(8)).toDouble();
        if (line.cantidad <= 0) continue;
        line.precioUnidad = r.at(3).toDouble();
        line.unidadMovimiento = line.unidadCompra = r.at(4).toString();
        line.descuento = r.at(5).toDouble();
        if (!fromOrder) line.centroCostos = r.at(6).toString();
        line.cantidadRecibida = line.cantidad;
        try {
            rules.post(k, line, true, options);
            ++result.loaded;
        } catch (const LineRefused& e) {
            result.refused << QStringLiteral("Producto %1: %2").arg(line.producto).arg(e.message());
        } catch (const db::DbError& e) {
            result.refused << QStringLiteral("Producto %1: %2").arg(line.producto).arg(e.engineText());
        }
    }
    s.execute(QStringLiteral("UPDATE MOVIMIENTO SET STATUS = 'L' WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
              {k.empresa, k.documento, k.consecutivo});
    return result;
}

} // namespace movements
