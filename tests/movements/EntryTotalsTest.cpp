// The entry totals must always give what summing the entry lines through MOVIMIENTOGENERALBODEGA
// gives, whatever is done to lines and headers, in whatever order.

#include "movements/EntryTotals.h"
#include "platform/db/SchemaUpgrader.h"
#include "platform/db/Statement.h"
#include "schema/InventorySchema.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <functional>
#include <gtest/gtest.h>

namespace {

QDateTime at(int y, int m, int d, int h = 0, int min = 0) { return QDateTime(QDate(y, m, d), QTime(h, min)); }

class EntryTotalsTest : public ::testing::Test {
protected:
    test::TestDatabase tdb;
    db::Session& s = tdb.session();

    void header(const char* doc, int number, const QVariant& fecha) {
        s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA) VALUES ('01', ?, ?, 1, ?)",
                  {doc, number, fecha});
    }
    void line(const char* doc, int number, int linea, int producto, double cantidad, const QVariant& subtotal) {
        s.execute("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, "
                  "SUBTOTAL, BODEGA) VALUES ('01', ?, ?, ?, ?, ?, ?, 1)",
                  {doc, number, linea, producto, cantidad, subtotal});
    }

    // Every item and a spread of dates: month starts, inside a month, either side of a time of day.
    void expectSameAsTheLines(const std::string& step) {
        movements::EntryTotals totals(s);
        const QDateTime dates[] = {at(2025, 11, 20), at(2025, 12, 31), at(2026, 1, 1),      at(2026, 1, 15),     at(2026, 1, 20, 10),
                                   at(2026, 1, 20, 10, 30), at(2026, 1, 20, 11), at(2026, 2, 1), at(2026, 2, 6),
                                   at(2026, 3, 1),      at(2027, 1, 1)};
        for (int producto : {5, 6}) {
            for (const QDateTime& when : dates) {
                const auto r = s.first("SELECT SUM(CANTIDAD), SUM(SUBTOTAL) FROM MOVIMIENTOGENERALBODEGA "
                                       "WHERE EMPRESA = '01' AND FECHA < ? AND PRODUCTO = ? AND CANTIDAD > 0",
                                       {when, producto});
                const movements::Entries e = totals.before(QStringLiteral("01"), producto, when);
                const std::string where =
                    step + ", item " + std::to_string(producto) + ", before " + when.toString(Qt::ISODate).toStdString();
                EXPECT_NEAR(r->at(0).toDouble(), e.quantity, 1e-9) << where;
                EXPECT_NEAR(r->at(1).toDouble(), e.value, 1e-6) << where;
            }
        }
    }
};

TEST_F(EntryTotalsTest, FollowTheLinesThroughEveryChangeOfLinesAndHeaders) {
    struct Step {
        const char* what;
        std::function<void(db::Session&)> run;
    };
    const std::vector<Step> steps = {
        {"entries, issues, a zero line and a line without value",
         [this](db::Session&) {
             header("EA", 1, at(2026, 1, 10));
             line("EA", 1, 1, 5, 10, 800);
             line("EA", 1, 2, 6, 3, QVariant());
             line("EA", 1, 3, 5, 0, 0);
             header("EA", 2, at(2026, 1, 20, 10, 30)); // a header with a time of day
             line("EA", 2, 1, 5, 4, 420);
             header("SA", 1, at(2026, 2, 5));
             line("SA", 1, 1, 5, -3, 240);
             header("EA", 4, at(2025, 11, 20)); // the year before
             line("EA", 4, 1, 5, 2, 150);
             line("EA", 4, 2, 6, 1, 70);
             header("EA", 3, QVariant()); // no date: never before anything
             line("EA", 3, 1, 5, 7, 700);
         }},
        {"a line's quantity, value and item changed",
         [](db::Session& s) {
             s.execute("UPDATE MOVIMIENTODETALLE SET CANTIDAD = 12, SUBTOTAL = 990 WHERE DOCUMENTO = 'EA' "
                       "AND CONSECUTIVO = 1 AND LINEA = 1");
             s.execute("UPDATE MOVIMIENTODETALLE SET PRODUCTO = 6 WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 2");
         }},
        {"an entry turned into an issue and back",
         [](db::Session& s) {
             s.execute("UPDATE MOVIMIENTODETALLE SET CANTIDAD = -2 WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 1 "
                       "AND LINEA = 2");
             s.execute("UPDATE MOVIMIENTODETALLE SET CANTIDAD = 5 WHERE DOCUMENTO = 'SA' AND CONSECUTIVO = 1");
         }},
        {"headers re-dated across months, to no date and back",
         [](db::Session& s) {
             s.execute("UPDATE MOVIMIENTO SET FECHA = ? WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 1",
                       {at(2026, 2, 1)});
             s.execute("UPDATE MOVIMIENTO SET FECHA = NULL WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 2");
             s.execute("UPDATE MOVIMIENTO SET FECHA = ? WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 3",
                       {at(2026, 1, 20, 10)});
         }},
        {"renumbered, header first",
         [](db::Session& s) {
             s.execute("UPDATE MOVIMIENTO SET CONSECUTIVO = 11 WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 1");
             s.execute("UPDATE MOVIMIENTODETALLE SET CONSECUTIVO = 11 WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 1");
         }},
        {"renumbered, lines first",
         [](db::Session& s) {
             s.execute("UPDATE MOVIMIENTODETALLE SET CONSECUTIVO = 13 WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 3");
             s.execute("UPDATE MOVIMIENTO SET CONSECUTIVO = 13 WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 3");
         }},
        {"a line deleted, a header deleted before its lines, lines written before their header",
         [this](db::Session& s) {
             s.execute("DELETE FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 11 AND LINEA = 1");
             s.execute("DELETE FROM MOVIMIENTO WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 13");
             line("EA", 20, 1, 5, 6, 600);
             header("EA", 20, at(2026, 1, 15));
         }},
        {"fractions added and taken out again",
         [this](db::Session& s) {
             header("EA", 21, at(2025, 6, 1));
             for (int i = 1; i <= 3; ++i) line("EA", 21, i, 6, 10.0 / 3.0, 1000.0 / 3.0);
             s.execute("DELETE FROM MOVIMIENTODETALLE WHERE DOCUMENTO = 'EA' AND CONSECUTIVO = 21");
         }},
    };
    for (const Step& step : steps) {
        db::Transaction t(s);
        step.run(s);
        t.commit();
        expectSameAsTheLines(step.what);
    }
    // Emptied totals are gone, not left as remainders; the year keeps what is left in it.
    EXPECT_EQ(0, s.scalar("SELECT COUNT(*) FROM ENTRADASPRODUCTO WHERE PERIODO <> 'A' AND FECHA < ?",
                          {at(2025, 11, 1)})
                     .toInt());
    EXPECT_NEAR(3, s.scalar("SELECT SUM(CANTIDAD) FROM ENTRADASPRODUCTO WHERE PERIODO = 'A' AND FECHA = ?",
                            {at(2025, 1, 1)})
                       .toDouble(),
                1e-9);
}

TEST(EntryTotalsUpgrade, AnOlderDatabaseGetsTheTotalsOfItsHistory) {
    int withoutTotals = 0;
    for (const db::SchemaScript& script : schema::inventoryScripts())
        if (script.name.contains(QLatin1String("entry_totals"))) withoutTotals = script.version - 1;
    ASSERT_GT(withoutTotals, 0);
    test::TestDatabase tdb(withoutTotals);
    db::Session& s = tdb.session();
    s.execute("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA) VALUES ('01', 'EA', 1, 1, ?)",
              {at(2026, 3, 4)});
    s.execute("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, SUBTOTAL, "
              "BODEGA) VALUES ('01', 'EA', 1, 1, 5, 8, 640, 1)");
    s.execute("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, SUBTOTAL, "
              "BODEGA) VALUES ('01', 'EA', 1, 2, 5, -2, 160, 1)");
    schema::inventoryUpgrader().upgrade(s);

    movements::EntryTotals totals(s);
    const movements::Entries later = totals.before(QStringLiteral("01"), 5, at(2026, 3, 5));
    EXPECT_DOUBLE_EQ(8, later.quantity);
    EXPECT_DOUBLE_EQ(640, later.value);
    EXPECT_DOUBLE_EQ(0, totals.before(QStringLiteral("01"), 5, at(2026, 3, 4)).quantity);
}

} // namespace
