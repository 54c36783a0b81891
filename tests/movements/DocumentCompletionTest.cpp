// The end of a document: withholding, order receipt, closing and the posting request.

#include "movements/DocumentCompletion.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

namespace {

using movements::DocumentCompletion;

class Completion : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* sql : {
                 "INSERT INTO EMPRESAS (EMPRESA, CUENTARETENCIONV, CUENTARETENCIONC) VALUES ('01', '135515', '236540')",
                 "INSERT INTO PROVEEDORES (NIT, NOMBRE, AUTERRETENEDOR) VALUES (860, 'ACEROS', 'S')",
                 "INSERT INTO PROVEEDORES (NIT, NOMBRE, AUTERRETENEDOR) VALUES (861, 'OTRO', 'N')",
                 "INSERT INTO ORDENCOMPRA (EMPRESA, CONSECUTIVO, PROVEEDOR) VALUES ('01', 12, 860)",
                 "INSERT INTO ORDENCOMPRADETALLE (EMPRESA, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, RECIBIDA) "
                 "VALUES ('01', 12, 1, 7, 10, 0)",
                 "INSERT INTO ORDENCOMPRADETALLE (EMPRESA, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, RECIBIDA) "
                 "VALUES ('01', 12, 2, 8, 5, 0)",
                 // Two receipts of order 12; the second brings item 7 only.
                 "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, CLIENTE, ORDENCOMPRASALIDA, "
                 "SUBTOTAL, DESCUENTO, STATUS, FECHA) VALUES ('01', 'EN', 1, 1, 860, 12, 10000, 2000, 'L', '2026-05-02')",
                 "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, CLIENTE, ORDENCOMPRASALIDA, STATUS) "
                 "VALUES ('01', 'EN', 2, 1, 861, 12, 'G')",
                 "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, "
                 "CANTIDADRECIBIDA) VALUES ('01', 'EN', 1, 1, 7, 4, 4)",
                 "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, "
                 "CANTIDADRECIBIDA) VALUES ('01', 'EN', 1, 2, 8, 5, 5)",
                 "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, "
                 "CANTIDADRECIBIDA) VALUES ('01', 'EN', 2, 1, 7, 3, 3)",
             })
            s().execute(QString::fromLatin1(sql));
        receipt.documento = QStringLiteral("EN");
        receipt.ordenCompra = QStringLiteral("S");
        receipt.cuentas = QStringLiteral("S");
    }
    db::Session& s() { return tdb.session(); }
    QVariant value(const char* sql) { return s().scalar(QString::fromLatin1(sql)); }
    test::TestDatabase tdb;
    movements::DocumentType receipt;
    const movements::HeaderKey first{QStringLiteral("01"), QStringLiteral("EN"), 1};
    const movements::HeaderKey second{QStringLiteral("01"), QStringLiteral("EN"), 2};
};

TEST_F(Completion, WithholdingFollowsTheThirdPartyAndThePercentage) {
    EXPECT_EQ(DocumentCompletion::defaultRetentionPercent(s(), first), 2.5);
    EXPECT_EQ(DocumentCompletion::defaultRetentionPercent(s(), second), 0.0);
    EXPECT_EQ(DocumentCompletion::readPercent(QStringLiteral("2.5")), 2.5);
    EXPECT_EQ(DocumentCompletion::readPercent(QStringLiteral("dos")), 0.0);
    EXPECT_EQ(DocumentCompletion::retention(1000, 0, 2.5), 25.0);
    EXPECT_EQ(DocumentCompletion::retention(1100, 0, 2.5), 28.0); // 27.5: a half goes to the even neighbour

    DocumentCompletion::applyRetention(s(), first, 2.5);
    EXPECT_EQ(value("SELECT RETENCION FROM MOVIMIENTO WHERE CONSECUTIVO = 1").toDouble(), 200.0);
    DocumentCompletion::applyRetention(s(), first, 0);
    EXPECT_EQ(value("SELECT RETENCION FROM MOVIMIENTO WHERE CONSECUTIVO = 1").toDouble(), 0.0);
}

TEST_F(Completion, PrintingAReceiptRefreshesTheOrderLinesOfItsItems) {
    DocumentCompletion::finishOrderReceipt(s(), second, receipt);
    // Item 7 was received by both documents; item 8 is not in the second one and keeps its value.
    EXPECT_EQ(value("SELECT RECIBIDA FROM ORDENCOMPRADETALLE WHERE PRODUCTO = 7").toDouble(), 7.0);
    EXPECT_EQ(value("SELECT RECIBIDA FROM ORDENCOMPRADETALLE WHERE PRODUCTO = 8").toDouble(), 0.0);
    EXPECT_EQ(value("SELECT STATUS FROM MOVIMIENTO WHERE CONSECUTIVO = 2").toString(), QStringLiteral("A"));
    EXPECT_EQ(value("SELECT STATUS FROM ORDENCOMPRA").toString(), QStringLiteral("C"));

    DocumentCompletion::close(s(), second);
    EXPECT_EQ(value("SELECT STATUS FROM MOVIMIENTO WHERE CONSECUTIVO = 2").toString(), QStringLiteral("C"));
    EXPECT_EQ(value("SELECT STATUS FROM MOVIMIENTO WHERE CONSECUTIVO = 1").toString(), QStringLiteral("L"));
}

TEST_F(Completion, ThePostingRequestCarriesTheDocumentAndTheCompanyAccounts) {
    EXPECT_TRUE(DocumentCompletion::postsToAccounting(receipt));
    receipt.cuentas = QStringLiteral("N");
    EXPECT_FALSE(DocumentCompletion::postsToAccounting(receipt));
    const auto r = DocumentCompletion::postingRequest(s(), first, true);
    EXPECT_EQ(r.document.consecutivo, 1);
    EXPECT_EQ(r.fecha.date(), QDate(2026, 5, 2));
    EXPECT_EQ(r.cuentaRetencionV, QStringLiteral("135515"));
    EXPECT_EQ(r.cuentaRetencionC, QStringLiteral("236540"));
    EXPECT_TRUE(r.costOfSales);
}

} // namespace
