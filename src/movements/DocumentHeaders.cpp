#include "movements/DocumentHeaders.h"

#include "platform/db/NextKey.h"

namespace movements {

int DocumentHeaders::create(db::Session& session, const NewHeader& h) {
    return db::insertWithNextKey(
        session, QStringLiteral("SELECT MAX(CONSECUTIVO) FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ?"),
        {h.empresa, h.documento}, [&](int number) {
            session.execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, "
                                           "CLIENTE, FACTURA, DESPACHARA, STATUS, SUBTOTAL, DESCUENTO, IVA, NETO, TASA) "
                                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'G', 0, 0, 0, 0, 1)"),
                            {h.empresa, h.documento, number, h.bodega, h.fecha, h.cliente, number,
                             h.despachara.isEmpty() ? QVariant() : QVariant(h.despachara)});
        });
}

} // namespace movements
