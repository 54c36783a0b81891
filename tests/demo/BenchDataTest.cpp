#include "demo/BenchData.h"
#include "DocumentChecks.h"
#include "demo/DemoData.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

std::string str(const QStringList& faults) {
    return faults.join(QLatin1Char('\n')).toStdString();
}

demo::BenchOptions small(qint64 lines) {
    demo::BenchOptions o;
    o.lines = lines;
    o.items = 200;
    o.warehouses = 3;
    o.companies = 2;
    o.years = 2;
    o.linesPerDocument = 10;
    o.seed = 7;
    return o;
}

void expectSoundDocuments(db::Session& s) {
    EXPECT_TRUE(test::documentTotalFaults(s).isEmpty()) << str(test::documentTotalFaults(s));
    EXPECT_TRUE(test::documentLineFaults(s).isEmpty()) << str(test::documentLineFaults(s));
    EXPECT_TRUE(test::negativeBalanceFaults(s).isEmpty()) << str(test::negativeBalanceFaults(s));
    EXPECT_TRUE(test::entryTotalFaults(s).isEmpty()) << str(test::entryTotalFaults(s));
}

class BenchDataTest : public ::testing::Test {
protected:
    test::TestDatabase tdb;
    db::Session& s = tdb.session();
    int count(const char* sql) { return s.scalar(QString::fromLatin1(sql)).toInt(); }
};

TEST_F(BenchDataTest, WritesExactlyTheLinesAskedForInSoundDocuments) {
    std::vector<std::pair<qint64, qint64>> reports;
    const auto result = demo::BenchData::generate(
        s, small(5000), [&](qint64 done, qint64 total) { reports.emplace_back(done, total); });

    EXPECT_EQ(5000, result.lines);
    EXPECT_EQ(5000, count("SELECT COUNT(*) FROM MOVIMIENTODETALLE"));
    EXPECT_EQ(result.documents, count("SELECT COUNT(*) FROM MOVIMIENTO"));
    EXPECT_EQ(200, result.itemsCreated);
    EXPECT_EQ(result.itemsCreated, count("SELECT COUNT(*) FROM PRODUCTOS"));
    EXPECT_GE(result.thirdPartiesCreated, 100);
    expectSoundDocuments(s);

    // The history spreads over the companies, warehouses and years, with entries and issues.
    EXPECT_EQ(2, count("SELECT COUNT(DISTINCT EMPRESA) FROM MOVIMIENTO"));
    EXPECT_EQ(3, count("SELECT COUNT(DISTINCT BODEGA) FROM MOVIMIENTODETALLE"));
    EXPECT_GT(count("SELECT COUNT(*) FROM MOVIMIENTODETALLE WHERE CANTIDAD < 0"), 0);
    const QDate today = QDate::currentDate();
    const QDate from = s.scalar("SELECT MIN(FECHA) FROM MOVIMIENTO").toDate();
    const QDate to = s.scalar("SELECT MAX(FECHA) FROM MOVIMIENTO").toDate();
    EXPECT_GT(from, today.addYears(-2));
    EXPECT_LT(from, today.addYears(-2).addDays(30));
    EXPECT_LE(to, today);
    EXPECT_GT(to, today.addDays(-30));

    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(std::make_pair(qint64(5000), qint64(5000)), reports.back());
    for (size_t i = 1; i < reports.size(); ++i)
        EXPECT_LT(reports[i - 1].first, reports[i].first);
}

// A second run numbers its documents after the first, and a run on the demonstration data uses its
// companies, warehouses, items and document types; neither disturbs what was there.
TEST_F(BenchDataTest, RunsAgainOnTopOfExistingData) {
    demo::DemoData::load(s);
    const int demoLines = count("SELECT COUNT(*) FROM MOVIMIENTODETALLE");
    const int demoItems = count("SELECT COUNT(*) FROM PRODUCTOS");
    const auto first = demo::BenchData::generate(s, small(3000));
    const auto second = demo::BenchData::generate(s, small(3000));
    EXPECT_EQ(0, first.itemsCreated) << "the demonstration has more than 200 items";
    EXPECT_EQ(0, second.thirdPartiesCreated);
    EXPECT_EQ(demoItems, count("SELECT COUNT(*) FROM PRODUCTOS"));
    EXPECT_EQ(demoLines + 6000, count("SELECT COUNT(*) FROM MOVIMIENTODETALLE"));
    expectSoundDocuments(s);
}

TEST_F(BenchDataTest, TheSameSeedGivesTheSameHistory) {
    test::TestDatabase other;
    demo::BenchData::generate(s, small(2000));
    demo::BenchData::generate(other.session(), small(2000));
    const QString lines =
        QStringLiteral("SELECT EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, SUBTOTAL, "
                       "BODEGA FROM MOVIMIENTODETALLE ORDER BY EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA");
    const auto a = s.all(lines);
    const auto b = other.session().all(lines);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        ASSERT_EQ(a[i].values(), b[i].values()) << "line " << i;
}

TEST_F(BenchDataTest, RefusesUnusableOptions) {
    const auto with = [](auto change) {
        demo::BenchOptions o = small(10);
        change(o);
        return o;
    };
    const demo::BenchOptions bad[] = {
        with([](auto& o) { o.lines = -1; }),     with([](auto& o) { o.items = 0; }),
        with([](auto& o) { o.items = 100000; }), with([](auto& o) { o.warehouses = 0; }),
        with([](auto& o) { o.companies = 0; }),  with([](auto& o) { o.companies = 100; }),
        with([](auto& o) { o.years = 0; }),      with([](auto& o) { o.linesPerDocument = 0; }),
    };
    for (const auto& o : bad)
        EXPECT_THROW(demo::BenchData::generate(s, o), std::invalid_argument);
    EXPECT_EQ(0, count("SELECT COUNT(*) FROM PRODUCTOS"));
}

TEST_F(BenchDataTest, RawInsertRateLeavesNoScratchTable) {
    const int tables = count("SELECT COUNT(*) FROM RDB$RELATIONS");
    EXPECT_GT(demo::BenchData::rawInsertRate(s, 3000), 0);
    EXPECT_EQ(tables, count("SELECT COUNT(*) FROM RDB$RELATIONS"));
    EXPECT_THROW(demo::BenchData::rawInsertRate(s, 0), std::invalid_argument);
}

} // namespace
