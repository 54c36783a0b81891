// Document types by code, the chooser's list per user, and the header rules: delete guard,
// renumbering with the lines, searches by typed number, duplicate invoices and the invoice date.

#include "movements/DocumentTypes.h"
#include "movements/HeaderRules.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

using movements::HeaderKey;
using movements::HeaderRules;

void seedTypes(db::Session& s) {
    for (const char* sql : {
             "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA) VALUES ('FV', 'FACTURA', 'R', 'V')",
             // Same name, another type: the code tells them apart.
             "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA) VALUES ('FC', 'FACTURA', 'S', 'C')",
             "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA) VALUES ('RV', 'REMISION', 'R', 'V')",
             "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA) VALUES ('POS', 'PUNTO DE VENTA', 'R', 'V')",
         })
        s.execute(QString::fromLatin1(sql));
}

QStringList codes(const std::vector<movements::DocumentType>& types) {
    QStringList out;
    for (const auto& t : types)
        out << t.documento;
    return out;
}

TEST(DocumentTypes, FoundByCodeEvenWhenTwoShareAName) {
    test::TestDatabase tdb;
    seedTypes(tdb.session());
    const auto fc = movements::DocumentType::byCode(tdb.session(), QStringLiteral("FC"));
    ASSERT_TRUE(fc);
    EXPECT_EQ(fc->entra, QStringLiteral("C"));
    EXPECT_TRUE(fc->adds());
    EXPECT_FALSE(movements::DocumentType::byCode(tdb.session(), QStringLiteral("XX")));
}

TEST(DocumentTypes, EachKindOfUserSeesItsTypesFromTheFirstDisplay) {
    test::TestDatabase tdb;
    seedTypes(tdb.session());
    struct Case {
        const char* user;
        const char* type;
        QStringList expected;
    };
    const Case cases[] = {
        {"ADMIN", "1", {"FC", "FV", "RV"}},   // the administrator sees every type but POS
        {"CLARA", "T", {"FC", "FV", "RV"}},   // so does a user of type T
        {"PEDRO", "V", {"FV", "RV"}},         // a user whose type is a kind sees that kind only
        {"LUIS", "1", {}},                    // requisition users have no movement types
    };
    for (const auto& c : cases)
        EXPECT_EQ(codes(movements::documentTypesForUser(tdb.session(), QString::fromLatin1(c.user),
                                                        QString::fromLatin1(c.type))),
                  c.expected)
            << c.user;
}

class Headers : public ::testing::Test {
  protected:
    void SetUp() override {
        auto& s = tdb.session();
        s.execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FACTURA, CLIENTE) "
                                 "VALUES ('01', 'FV', 1, 1, 500, 900)"));
        s.execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FACTURA, CLIENTE) "
                                 "VALUES ('01', 'FV', 2, 1, 501, 900)"));
        for (int line = 1; line <= 2; ++line)
            s.execute(QStringLiteral("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, "
                                     "CANTIDAD) VALUES ('01', 'FV', 1, ?, 7, -1)"),
                      {line});
    }
    int count(const char* sql) { return tdb.session().scalar(QString::fromLatin1(sql)).toInt(); }
    test::TestDatabase tdb;
};

TEST_F(Headers, OnlyADocumentWithoutLinesCanBeDeleted) {
    auto& s = tdb.session();
    EXPECT_EQ(HeaderRules::remove(s, {QStringLiteral("01"), QStringLiteral("FV"), 1}),
              QStringLiteral("El Documento No. :  1  Tiene Movimiento por lo que no puede ser !!! BORRADO ¡¡¡"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM MOVIMIENTO"), 2);
    EXPECT_EQ(HeaderRules::remove(s, {QStringLiteral("01"), QStringLiteral("FV"), 2}), QString());
    EXPECT_EQ(count("SELECT COUNT(*) FROM MOVIMIENTO"), 1);
    s.execute(QStringLiteral("DELETE FROM MOVIMIENTODETALLE"));
    EXPECT_EQ(HeaderRules::remove(s, {QStringLiteral("01"), QStringLiteral("FV"), 1}), QString());
}

TEST_F(Headers, RenumberingCarriesTheLinesAndRefusesATakenNumber) {
    auto& s = tdb.session();
    const HeaderKey first{QStringLiteral("01"), QStringLiteral("FV"), 1};
    EXPECT_EQ(HeaderRules::renumber(s, first, QStringLiteral("2")),
              QStringLiteral("El documento No. 2 ya existe; elija otro número"));
    EXPECT_EQ(HeaderRules::renumber(s, first, QStringLiteral("2 OR 1=1")),
              QStringLiteral("'2 OR 1=1' no es un número de documento válido"));
    EXPECT_EQ(HeaderRules::renumber(s, first, QStringLiteral("0")),
              QStringLiteral("'0' no es un número de documento válido"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM MOVIMIENTODETALLE WHERE CONSECUTIVO = 1"), 2);

    EXPECT_EQ(HeaderRules::renumber(s, first, QStringLiteral(" 10 ")), QString());
    EXPECT_EQ(count("SELECT COUNT(*) FROM MOVIMIENTO WHERE CONSECUTIVO = 10"), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM MOVIMIENTODETALLE WHERE CONSECUTIVO = 10"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM MOVIMIENTODETALLE WHERE CONSECUTIVO = 1"), 0);
    EXPECT_EQ(HeaderRules::renumber(s, first, QStringLiteral("11")), HeaderRules::kNotFound);
}

TEST_F(Headers, SearchesReadTheTypedNumberAndSayWhenThereIsNone) {
    auto& s = tdb.session();
    const QString e = QStringLiteral("01"), d = QStringLiteral("FV");
    QString refusal;
    EXPECT_EQ(HeaderRules::findByNumber(s, e, d, QStringLiteral("2"), &refusal), 2);
    EXPECT_FALSE(HeaderRules::findByNumber(s, e, d, QStringLiteral("3"), &refusal));
    EXPECT_EQ(refusal, QStringLiteral("Documento no Existe"));
    EXPECT_FALSE(HeaderRules::findByNumber(s, e, d, QStringLiteral("1' OR '1'='1"), &refusal));
    EXPECT_EQ(refusal, QStringLiteral("'1' OR '1'='1' no es un número de documento válido"));
    EXPECT_EQ(HeaderRules::findByInvoice(s, e, d, QStringLiteral("501"), &refusal), 2);
    EXPECT_FALSE(HeaderRules::findByInvoice(s, e, QStringLiteral("FC"), QStringLiteral("501"), &refusal));
    EXPECT_EQ(refusal, QStringLiteral("Documento no Existe"));
}

TEST_F(Headers, ASecondHeaderWithTheSameInvoiceIsCounted) {
    auto& s = tdb.session();
    EXPECT_EQ(HeaderRules::invoiceCount(s, 500, 900.0, QStringLiteral("FV")), 1);
    s.execute(QStringLiteral("UPDATE MOVIMIENTO SET FACTURA = 500 WHERE CONSECUTIVO = 2"));
    EXPECT_EQ(HeaderRules::invoiceCount(s, 500, 900.0, QStringLiteral("FV")), 2);
    EXPECT_EQ(HeaderRules::invoiceCount(s, 500, 901.0, QStringLiteral("FV")), 0);
    EXPECT_EQ(HeaderRules::duplicateInvoiceMessage(2, 500), QStringLiteral("Existen 2 Facuras en el sistema : [500]"));
}

TEST(HeaderInvoiceDate, AnEmptyOrEarlierInvoiceDateBecomesTheDocumentDate) {
    const QDateTime fecha(QDate(2026, 3, 10), QTime());
    const QDateTime before(QDate(2026, 3, 1), QTime());
    const QDateTime after(QDate(2026, 3, 20), QTime());
    EXPECT_EQ(HeaderRules::invoiceDateOnPost(QVariant(), fecha).toDateTime(), fecha);
    EXPECT_EQ(HeaderRules::invoiceDateOnPost(before, fecha).toDateTime(), fecha);
    EXPECT_EQ(HeaderRules::invoiceDateOnPost(after, fecha).toDateTime(), after);
}

} // namespace
