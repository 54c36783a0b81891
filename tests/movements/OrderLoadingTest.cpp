// Loading a purchase order's pending lines into the document that receives it.

#include "movements/OrderLoading.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

using movements::OrderLoading;

class Orders : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* sql : {
                 "INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'CONSTRUCTORA')",
                 "INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (1, 'PRINCIPAL')",
                 "INSERT INTO PROVEEDORES (NIT, NOMBRE) VALUES (860, 'ACEROS')",
                 "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, ORDENCOMPRA) "
                 "VALUES ('EN', 'ENTRADA POR ORDEN', 'S', 'C', 'S')",
                 "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, ORDENCOMPRA) "
                 "VALUES ('EO', 'OTRA ENTRADA POR ORDEN', 'S', 'C', 'S')",
                 "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, UNIDADS, NOMBRE) "
                 "VALUES ('01-1-7', '01', 1, 7, 'UN', 'UN', 'VARILLA')",
                 "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, UNIDADS, NOMBRE) "
                 "VALUES ('01-1-8', '01', 1, 8, 'UN', 'UN', 'ALAMBRE')",
                 "INSERT INTO ORDENCOMPRA (EMPRESA, CONSECUTIVO, PROVEEDOR, CENTROCOSTOS) VALUES ('01', 12, 860, '100')",
                 "INSERT INTO ORDENCOMPRADETALLE (EMPRESA, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, RECIBIDA, "
                 "PRECIOUNIDAD, UNIDADCOMPRA) VALUES ('01', 12, 1, 7, 10, 0, 500, 'UN')",
                 "INSERT INTO ORDENCOMPRADETALLE (EMPRESA, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, RECIBIDA, "
                 "PRECIOUNIDAD, UNIDADCOMPRA) VALUES ('01', 12, 2, 8, 5, 5, 90, 'UN')",
                 // Four of the ten were received before by a document of another receiving type.
                 "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, CLIENTE, ORDENCOMPRASALIDA, "
                 "STATUS, TASA) VALUES ('01', 'EO', 1, 1, '2026-02-01', 860, 12, 'C', 1)",
                 "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, BODEGA, CANTIDAD, "
                 "PRECIOUNIDAD, SUBTOTAL) VALUES ('01', 'EO', 1, 1, 7, 1, 4, 500, 2000)",
                 "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, CLIENTE, ORDENCOMPRASALIDA, "
                 "STATUS, TASA) VALUES ('01', 'EN', 1, 1, '2026-02-03', 860, 12, 'G', 1)",
             })
            tdb.session().execute(QString::fromLatin1(sql));
    }
    test::TestDatabase tdb;
    const movements::HeaderKey receipt{QStringLiteral("01"), QStringLiteral("EN"), 1};
};

TEST_F(Orders, PendingLinesComeInWithWhatIsStillToReceive) {
    auto& s = tdb.session();
    movements::LineRules rules(s);
    const auto result = OrderLoading::loadPending(s, rules, receipt);
    EXPECT_EQ(result.loaded, 1);
    EXPECT_TRUE(result.refused.isEmpty()) << result.refused.join(QLatin1Char('|')).toStdString();
    const auto line = s.first(QStringLiteral("SELECT PRODUCTO, CANTIDAD, PRECIOUNIDAD, CENTROCOSTOS, UNIDADCOMPRA, "
                                             "SUBTOTAL FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'EN'"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->at(0).toInt(), 7);
    EXPECT_EQ(line->at(1).toDouble(), 6.0);
    EXPECT_EQ(line->at(2).toDouble(), 500.0);
    EXPECT_EQ(line->at(3).toString(), QStringLiteral("100"));
    EXPECT_EQ(line->at(4).toString(), QStringLiteral("UN"));
    EXPECT_EQ(line->at(5).toDouble(), 3000.0);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT STATUS FROM MOVIMIENTO WHERE DOCUMENTO = 'EN'")).toString(),
              QStringLiteral("L"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT SUBTOTAL FROM MOVIMIENTO WHERE DOCUMENTO = 'EN'")).toDouble(), 3000.0);
}

TEST_F(Orders, TheDirectSaleVariantTakesWhatTheOrderHasNotMarkedReceivedWithoutCostCentre) {
    auto& s = tdb.session();
    // The order says 3 of the 10 arrived; the earlier receipt of 4 is not asked.
    s.execute(QStringLiteral("UPDATE ORDENCOMPRADETALLE SET RECIBIDA = 3 WHERE LINEA = 1"));
    movements::LineRules rules(s);
    const auto result =
        OrderLoading::loadPending(s, rules, receipt, {}, movements::PendingFrom::OrderReceived);
    EXPECT_EQ(result.loaded, 1);
    const auto line = s.first(QStringLiteral("SELECT CANTIDAD, CENTROCOSTOS FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'EN'"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->at(0).toDouble(), 7.0);
    EXPECT_TRUE(line->at(1).isNull());
}

TEST_F(Orders, AnOrderFullyReceivedLoadsNothingButTheStatusMoves) {
    auto& s = tdb.session();
    s.execute(QStringLiteral("UPDATE ORDENCOMPRADETALLE SET RECIBIDA = CANTIDAD"));
    movements::LineRules rules(s);
    EXPECT_EQ(OrderLoading::loadPending(s, rules, receipt).loaded, 0);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT STATUS FROM MOVIMIENTO WHERE DOCUMENTO = 'EN'")).toString(),
              QStringLiteral("L"));
}

TEST_F(Orders, AMissingOrderIsRefusedAndNothingChanges) {
    auto& s = tdb.session();
    s.execute(QStringLiteral("UPDATE MOVIMIENTO SET ORDENCOMPRASALIDA = 13 WHERE DOCUMENTO = 'EN'"));
    movements::LineRules rules(s);
    EXPECT_FALSE(OrderLoading::orderExists(s, receipt));
    try {
        OrderLoading::loadPending(s, rules, receipt);
        FAIL() << "no refusal";
    } catch (const movements::LineRefused& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Orden de Compra No Existe"));
    }
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT STATUS FROM MOVIMIENTO WHERE DOCUMENTO = 'EN'")).toString(),
              QStringLiteral("G"));
}

} // namespace
