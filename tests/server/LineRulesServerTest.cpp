// Two workstations posting lines of the same item through a Firebird server at the same moment.

#include "movements/DocumentHeaders.h"
#include "movements/LineRules.h"
#include "platform/db/DbError.h"
#include "support/ServerDatabase.h"

#include <QDate>
#include <gtest/gtest.h>
#include <thread>

namespace {

using ServerLines = test::ServerDatabaseTest;

// Each station issues one unit at a time until it has had 25 answers; a lock conflict is retried, as
// a clerk would. 30 units are in stock, so exactly 30 issues are posted and 20 refused, and every
// header holds the totals of its own lines.
TEST_F(ServerLines, IssuesOfOneItemAtOnceNeverTakeMoreThanTheWarehouseHolds) {
    for (const char* sql : {
             "INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'UNO')",
             "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, CONTROLASALDO) VALUES ('SA', "
             "'SALIDA', 'R', 'I', 'S')",
             "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, VALORUNIDAD, VALORPROMEDIO) "
             "VALUES ('01-1-5', '01', 1, 5, 'UN', 100, 80)",
             "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA) VALUES ('01', 'EA', 1, "
             "1, '2026-01-05')",
             "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, "
             "SUBTOTAL, BODEGA) "
             "VALUES ('01', 'EA', 1, 1, 5, 30, 2400, 1)",
         })
        s->execute(QString::fromLatin1(sql));

    struct Station {
        int posted = 0, refused = 0, conflicts = 0;
        std::string failure;
    } stations[2];
    auto run = [&](Station& st) {
        try {
            auto session = db::Session::attach(params);
            movements::LineRules rules(*session);
            const movements::HeaderKey doc{
                QStringLiteral("01"), QStringLiteral("SA"),
                movements::DocumentHeaders::create(*session, {"01", "SA", 1, QDate(2026, 3, 10)})};
            movements::MovementLine line;
            line.producto = 5;
            line.cantidad = -1;
            line.precioUnidad = 100;
            while (st.posted + st.refused < 25) {
                try {
                    rules.post(doc, line, true);
                    ++st.posted;
                } catch (const movements::LineRefused&) {
                    ++st.refused;
                } catch (const db::DbError& e) {
                    if (!e.isLockConflict()) throw;
                    ++st.conflicts;
                }
            }
        } catch (const std::exception& e) {
            st.failure = e.what();
        }
    };
    std::thread a(run, std::ref(stations[0])), b(run, std::ref(stations[1]));
    a.join();
    b.join();
    EXPECT_EQ("", stations[0].failure);
    EXPECT_EQ("", stations[1].failure);
    EXPECT_EQ(30, stations[0].posted + stations[1].posted);
    EXPECT_EQ(0.0,
              s->scalar("SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA = '01' AND PRODUCTO = 5 AND BODEGA = 1")
                  .toDouble());
    EXPECT_EQ(0, s->scalar("SELECT COUNT(*) FROM MOVIMIENTO M WHERE M.DOCUMENTO = 'SA' AND M.SUBTOTAL <> "
                           "(SELECT SUM(D.SUBTOTAL) FROM MOVIMIENTODETALLE D WHERE D.EMPRESA = M.EMPRESA "
                           "AND D.DOCUMENTO = M.DOCUMENTO AND D.CONSECUTIVO = M.CONSECUTIVO)")
                     .toInt());
}

} // namespace
