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

namespace {

TEST_F(Completion, HeaderFieldsTypedInTheLineWindowAreStoredOrRefusedWhole) {
    movements::HeaderFields f;
    f.despachara = QStringLiteral("  CALLE 10 # 4-20 ");
    f.plazo = QStringLiteral("30");
    f.flete = QStringLiteral("1,250.50");
    f.retencion = QStringLiteral("200");
    f.reteica = QString();
    f.reteiva = QStringLiteral("15");
    f.observaciones = QStringLiteral("Entregar en obra\nantes de las 10");
    DocumentCompletion::saveHeaderFields(s(), first, f);
    const movements::HeaderFields back = DocumentCompletion::headerFields(s(), first);
    EXPECT_EQ(back.despachara, QStringLiteral("CALLE 10 # 4-20"));
    EXPECT_EQ(back.plazo, QStringLiteral("30"));
    EXPECT_EQ(back.flete, QStringLiteral("1,250.50"));
    EXPECT_EQ(back.reteica, QString());
    EXPECT_TRUE(value("SELECT RETEICA FROM MOVIMIENTO WHERE CONSECUTIVO = 1").isNull());
    EXPECT_EQ(back.observaciones, f.observaciones);

    // Each bad field is refused with its own message, and nothing of the others is written.
    struct Bad {
        QString movements::HeaderFields::*field;
        QString typed;
        const char* message;
    };
    const Bad bad[] = {
        {&movements::HeaderFields::plazo, QStringLiteral("treinta"), "El plazo debe ser un número entero de días"},
        {&movements::HeaderFields::plazo, QStringLiteral("2.5"), "El plazo debe ser un número entero de días"},
        {&movements::HeaderFields::flete, QStringLiteral("12x"), "El flete \"12x\" no es un número"},
        {&movements::HeaderFields::despachara, QString(61, QLatin1Char('A')),
         "La dirección de despacho no puede tener más de 60 caracteres"},
        {&movements::HeaderFields::observaciones, QString(161, QLatin1Char('a')),
         "Las observaciones no pueden tener más de 160 caracteres"},
    };
    for (const Bad& b : bad) {
        movements::HeaderFields changed = back;
        changed.reteiva = QStringLiteral("99");
        changed.*b.field = b.typed;
        try {
            DocumentCompletion::saveHeaderFields(s(), first, changed);
            ADD_FAILURE() << "accepted " << b.typed.toStdString();
        } catch (const std::invalid_argument& e) {
            EXPECT_EQ(QString::fromUtf8(e.what()), QString::fromUtf8(b.message));
        }
        EXPECT_EQ(value("SELECT RETEIVA FROM MOVIMIENTO WHERE CONSECUTIVO = 1").toDouble(), 15.0);
    }
}

} // namespace
