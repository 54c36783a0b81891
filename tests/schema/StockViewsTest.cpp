#include "platform/db/Statement.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

class StockViews : public ::testing::Test {
protected:
    test::TestDatabase tdb;
    db::Session& s = tdb.session();

    void header(const char* doc, int number, int bodega, QDate fecha, double cliente = 800100) {
        s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, CLIENTE) "
                  "VALUES ('01', ?, ?, ?, ?, ?)",
                  {doc, number, bodega, fecha, cliente});
    }
    void line(const char* doc, int number, int linea, int producto, double cantidad, double subtotal, int bodega) {
        s.execute("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, "
                  "SUBTOTAL, BODEGA, COSTO) VALUES ('01', ?, ?, ?, ?, ?, ?, ?, ?)",
                  {doc, number, linea, producto, cantidad, subtotal, bodega, cantidad ? subtotal / cantidad : 0.0});
    }
    double value(const char* sql, const db::Params& p = {}) { return s.scalar(sql, p).toDouble(); }

    void SetUp() override {
        s.execute("INSERT INTO EMPRESAS (EMPRESA, NOMBRE, FECHACORTE) VALUES ('01', 'Uno', ?)", {QDate(2026, 6, 30)});
        s.execute("INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, CUENTACONTABLE) "
                  "VALUES ('01-1-5', '01', 1, 5, 'UN', '143505')");
        header("EA", 1, 1, QDate(2026, 1, 10));
        line("EA", 1, 1, 5, 10, 800, 1);
        line("EA", 1, 2, 5, 0, 0, 1); // a zero line still shows in the line views
        header("EA", 2, 2, QDate(2026, 5, 2));
        line("EA", 2, 1, 5, 4, 400, 2);
        header("SA", 1, 1, QDate(2026, 7, 15));
        line("SA", 1, 1, 5, -3, 240, 1); // issues are negative, their value is not
    }
};

TEST_F(StockViews, BalancesAreSumsOfSignedLineQuantities) {
    EXPECT_DOUBLE_EQ(11, value("SELECT SALDO FROM SALDOS WHERE EMPRESA = '01' AND PRODUCTO = 5"));
    EXPECT_DOUBLE_EQ(7, value("SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA = '01' AND PRODUCTO = 5 AND BODEGA = 1"));
    EXPECT_DOUBLE_EQ(4, value("SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA = '01' AND PRODUCTO = 5 AND BODEGA = 2"));
    // Up to the company's cut-off date (June 30): the July issue does not count yet.
    auto cut = s.first("SELECT SALDO, ULTIMOMOVIMIENTO FROM SALDOSFECHACORTE WHERE EMPRESA = '01' AND PRODUCTO = 5");
    ASSERT_TRUE(cut);
    EXPECT_DOUBLE_EQ(14, cut->number("SALDO"));
    EXPECT_EQ(QDate(2026, 5, 2), (*cut)["ULTIMOMOVIMIENTO"].toDateTime().date());
    EXPECT_EQ(QDate(2026, 7, 15),
              s.scalar("SELECT ULTIMOMOVIMIENTO FROM FECHAULTIMOMOVIMIENTO WHERE EMPRESA = '01' AND PRODUCTO = 5 "
                       "AND DOCUMENTO = 'SA'")
                  .toDateTime()
                  .date());
}

TEST_F(StockViews, AnEntryAndAnIssueOfTheSameSizeCancelInStockButNotInValue) {
    header("EA", 3, 1, QDate(2026, 8, 1));
    line("EA", 3, 1, 5, 2, 160, 1);
    header("SA", 2, 1, QDate(2026, 8, 1));
    line("SA", 2, 1, 5, -2, 160, 1);
    EXPECT_DOUBLE_EQ(7, value("SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA = '01' AND PRODUCTO = 5 AND BODEGA = 1"));
    EXPECT_EQ(0, s.scalar("SELECT COUNT(*) FROM MOVIMIENTOGENERAL WHERE SUBTOTAL < 0").toInt());
}

TEST_F(StockViews, LineViewsCarryHeaderDateThirdPartyAndItemClassification) {
    EXPECT_EQ(4, s.scalar("SELECT COUNT(*) FROM MOVIMIENTOGENERAL WHERE PRODUCTO = 5").toInt()) << "zero line included";
    auto r = s.first("SELECT FECHA, NIT, GRUPO, SUBGRUPO, CUENTA FROM MOVIMIENTOGENERAL1 WHERE DOCUMENTO = 'EA' "
                     "AND CONSECUTIVO = 2");
    ASSERT_TRUE(r);
    EXPECT_EQ(QDate(2026, 5, 2), (*r)["FECHA"].toDateTime().date());
    EXPECT_DOUBLE_EQ(800100, r->number("NIT"));
    EXPECT_EQ(QStringLiteral("01"), r->text("GRUPO"));
    EXPECT_EQ(QStringLiteral("143505"), r->text("CUENTA"));
    // Entries before a date, in every warehouse: the basis of a line's cost.
    auto cost = s.first("SELECT SUM(CANTIDAD) SALDO, SUM(SUBTOTAL) VALOR FROM MOVIMIENTOGENERALBODEGA WHERE EMPRESA = "
                        "'01' AND FECHA < ? AND PRODUCTO = 5 AND CANTIDAD > 0",
                        {QDate(2026, 7, 1)});
    EXPECT_DOUBLE_EQ(14, cost->number("SALDO"));
    EXPECT_DOUBLE_EQ(1200, cost->number("VALOR"));
}

TEST_F(StockViews, CountedQuantityIsTheNumberOfScannedUnits) {
    for (int i = 0; i < 3; ++i)
        s.execute("INSERT INTO TOMAINVENTARIO (EMPRESA, BODEGA, CODIGOBARRAS, PRODUCTO) VALUES ('01', 1, '77', 5)");
    EXPECT_DOUBLE_EQ(3, value("SELECT SALDO FROM SALDOSINVENTARIOS WHERE EMPRESA = '01' AND PRODUCTO = 5"));
}

// The per-item stock and cost reads run on every line post; they must reach the lines through an
// index, never by scanning the whole line table.
TEST_F(StockViews, PerItemReadsUseTheLineIndex) {
    const char* statements[] = {
        "SELECT SALDO FROM SALDOSBODEGA WHERE EMPRESA = ? AND PRODUCTO = ? AND BODEGA = ?",
        "SELECT SALDO FROM SALDOS WHERE EMPRESA = ? AND PRODUCTO = ?",
        "SELECT SUM(CANTIDAD), SUM(SUBTOTAL) FROM MOVIMIENTOGENERALBODEGA WHERE EMPRESA = ? AND FECHA < ? "
        "AND PRODUCTO = ? AND CANTIDAD > 0",
        "SELECT MAX(CONSECUTIVO) FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ?",
        "SELECT MAX(LINEA) FROM MOVIMIENTODETALLE WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?",
    };
    for (const char* sql : statements) {
        db::Statement st(s, sql);
        const QString plan = st.plan();
        EXPECT_FALSE(plan.contains("NATURAL")) << sql << "\n" << plan.toStdString();
        EXPECT_TRUE(plan.contains("INDEX") || plan.contains("ORDER")) << sql << "\n" << plan.toStdString();
    }
}

} // namespace
