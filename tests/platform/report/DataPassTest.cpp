// The data pass: group breaks, totals, running values, lookups, the hook and parameters.

#include "platform/report/DataPass.h"
#include "platform/report/ReportError.h"
#include "platform/report/SalesFixture.h"
#include "platform/report/TextExport.h"

#include <gtest/gtest.h>

namespace {

using namespace report;

DataPass::Options since(const QDate& from) {
    DataPass::Options o;
    o.parameters = {{QStringLiteral("DESDE"), from}};
    o.printedAt = QDateTime(QDate(2024, 3, 15), QTime(10, 0));
    return o;
}

// Indexes of the bands of one kind (and group), in order.
std::vector<int> bandsOf(const ReportData& d, BandKind kind, int group = -1) {
    std::vector<int> out;
    for (int i = 0; i < int(d.bands().size()); ++i)
        if (d.bands()[size_t(i)].kind == kind && d.bands()[size_t(i)].group == group) out.push_back(i);
    return out;
}

TEST(DataPass, GroupsBreakOnTheTupleOfValuesNeverOnJoinedText) {
    test::TestDatabase db;
    db.session().execute(QStringLiteral("CREATE TABLE T (N INTEGER, A VARCHAR(5), B VARCHAR(5))"));
    struct Case {
        const char* what;
        std::vector<std::pair<QVariant, QVariant>> rows;
        std::vector<int> outerSizes; // rows per instance of group (A)
        std::vector<int> innerSizes; // rows per instance of group (A, B)
    } cases[] = {
        {"joined text would merge them", {{"1", "23"}, {"12", "3"}, {"12", "3"}}, {1, 2}, {1, 2}},
        {"NULL keys group together",
         {{QVariant(), "x"}, {QVariant(), "x"}, {"a", QVariant()}},
         {2, 1},
         {2, 1}},
        {"an outer break restarts the inner group", {{"a", "x"}, {"b", "x"}, {"b", "x"}}, {1, 2}, {1, 2}},
        {"inner breaks inside one outer group", {{"a", "x"}, {"a", "y"}, {"a", "y"}}, {3}, {1, 2}},
        {"no rows, no groups", {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        db.session().execute(QStringLiteral("DELETE FROM T"));
        int n = 0;
        for (const auto& [a, b] : c.rows)
            db.session().execute(QStringLiteral("INSERT INTO T (N, A, B) VALUES (?, ?, ?)"), {++n, a, b});
        ReportDefinition def;
        def.name = QStringLiteral("t");
        def.sql = QStringLiteral("SELECT N, A, B FROM T ORDER BY N");
        Group outer;
        outer.name = QStringLiteral("a");
        outer.columns = {QStringLiteral("A")};
        Group inner;
        inner.name = QStringLiteral("ab");
        inner.columns = {QStringLiteral("A"), QStringLiteral("B")};
        def.groups = {outer, inner};
        def.totals = {{QStringLiteral("CA"), Total::Kind::Count, {}, QStringLiteral("a")},
                      {QStringLiteral("CAB"), Total::Kind::Count, {}, QStringLiteral("ab")}};
        const auto data = DataPass::run(std::make_shared<ReportDefinition>(def), db.session(), {});
        std::vector<int> outerSizes, innerSizes;
        for (const int f : bandsOf(*data, BandKind::GroupFooter, 0))
            outerSizes.push_back(data->value(f, "CA").toInt());
        for (const int f : bandsOf(*data, BandKind::GroupFooter, 1))
            innerSizes.push_back(data->value(f, "CAB").toInt());
        EXPECT_EQ(c.outerSizes, outerSizes);
        EXPECT_EQ(c.innerSizes, innerSizes);
        EXPECT_EQ(int(c.rows.size()), data->detailCount());
    }
}

TEST(DataPass, TotalsRunningValuesLookupsAndTheHook) {
    test::SalesFixture f;
    const auto d = DataPass::run(test::SalesFixture::definition(), f.db.session(), since(QDate(2024, 1, 1)));
    const auto zoneHeaders = bandsOf(*d, BandKind::GroupHeader, 0);
    const auto sellerFooters = bandsOf(*d, BandKind::GroupFooter, 1);
    const auto details = bandsOf(*d, BandKind::Detail);
    ASSERT_EQ(2u, zoneHeaders.size());
    ASSERT_EQ(3u, sellerFooters.size());
    ASSERT_EQ(65u, details.size());

    // Group totals are in the header as well as the footer.
    EXPECT_NEAR(1906.75, d->value(zoneHeaders[0], "TOTALZONA").toDouble(), 1e-9);
    EXPECT_EQ(63, d->value(zoneHeaders[0], "VENTASZONA").toInt());
    EXPECT_DOUBLE_EQ(1184.5, d->value(zoneHeaders[1], "totalzona").toDouble());
    EXPECT_NEAR(606.0, d->value(sellerFooters[1], "TOTALVENDEDOR").toDouble(), 1e-9);
    EXPECT_EQ(60, d->value(sellerFooters[1], "FACTURAS").toInt());

    // Running values restart with each seller; the lookup of a seller's header reaches its rows.
    EXPECT_DOUBLE_EQ(1300.75, d->value(details[2], "ACUMULADO").toDouble());
    EXPECT_DOUBLE_EQ(10.10, d->value(details[3], "ACUMULADO").toDouble());
    EXPECT_DOUBLE_EQ(500, d->value(details[3], "META").toDouble());
    EXPECT_NEAR(-106.0, d->value(details[62], "PENDIENTE").toDouble(), 1e-9);
    EXPECT_FALSE(d->value(details[63], "META").isValid()); // EVA has no target: no hook value either
    EXPECT_FALSE(d->value(details[63], "PENDIENTE").isValid());

    const int summary = bandsOf(*d, BandKind::Summary).front();
    EXPECT_EQ(65, d->value(summary, "REGISTROS").toInt());
    EXPECT_NEAR(3091.25, d->value(summary, "TOTAL").toDouble(), 1e-9);
    EXPECT_NEAR(3091.25, d->value(0, "TOTAL").toDouble(), 1e-9); // the title knows it too
    EXPECT_EQ(QStringLiteral("DISTRIBUIDORA LA FIXTURA"), d->value(summary, "REGISTRO.NOMBRE").toString());
    EXPECT_EQ(QDate(2024, 1, 1), d->value(-1, ":DESDE").toDate());
}

TEST(DataPass, AnEmptyRangePrintsHeadersAndAZeroCount) {
    test::SalesFixture f;
    const auto d = DataPass::run(test::SalesFixture::definition(), f.db.session(), since(QDate(2030, 1, 1)));
    EXPECT_EQ(0, d->detailCount());
    const QString text = TextExport::toString(*d);
    EXPECT_TRUE(text.contains(QStringLiteral("VENTAS POR ZONA Y VENDEDOR"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Total Registros : 0"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Total General"))) << text.toStdString();
}

TEST(DataPass, RefusesBadParametersAndDeclarations) {
    test::SalesFixture f;
    struct Case {
        QVariantMap parameters;
        const char* message;
    } cases[] = {
        {{}, "Falta el parámetro DESDE (primera fecha)"},
        {{{"DESDE", "31/02/2024"}}, "El parámetro DESDE debe ser una fecha dd/mm/aaaa: 31/02/2024"},
        {{{"DESDE", "2024-01-01"}, {"HASTA", "2024-02-01"}}, "El informe ventas no tiene el parámetro HASTA"},
    };
    for (const auto& c : cases) {
        DataPass::Options o;
        o.parameters = c.parameters;
        try {
            DataPass::run(test::SalesFixture::definition(), f.db.session(), o);
            ADD_FAILURE() << "accepted " << c.message;
        } catch (const ReportError& e) {
            EXPECT_EQ(QString::fromUtf8(c.message), e.text());
        }
    }

    auto broken = std::make_shared<ReportDefinition>(*test::SalesFixture::definition());
    broken->groups[1].columns << QStringLiteral("SUCURSAL");
    EXPECT_THROW(DataPass::run(broken, f.db.session(), since(QDate(2024, 1, 1))), ReportError);
    broken = std::make_shared<ReportDefinition>(*test::SalesFixture::definition());
    broken->sql += QStringLiteral(" ROWS :TOPE");
    EXPECT_THROW(DataPass::run(broken, f.db.session(), since(QDate(2024, 1, 1))), ReportError);
}

TEST(DataPass, OrdersOnlyByTheDeclaredOrderingOfTheChosenCode) {
    test::TestDatabase db;
    db.session().execute(QStringLiteral("CREATE TABLE T (N INTEGER, A VARCHAR(5))"));
    for (const auto& [n, a] : std::vector<std::pair<int, QString>>{{1, "c"}, {2, "a"}, {3, "b"}})
        db.session().execute(QStringLiteral("INSERT INTO T (N, A) VALUES (?, ?)"), {n, a});
    ReportDefinition def;
    def.name = QStringLiteral("t");
    def.sql = QStringLiteral("SELECT N, A FROM T");
    def.parameters = {{QStringLiteral("ORDEN"), Parameter::Type::Text, {}, QStringLiteral("#")}};
    def.orderings = {{QStringLiteral("#"), QStringLiteral("Número"), QStringLiteral("N")},
                     {QStringLiteral("A"), QStringLiteral("Letra"), QStringLiteral("A")}};
    def.orderParameter = QStringLiteral("ORDEN");
    const auto shared = std::make_shared<ReportDefinition>(def);
    const auto numbers = [&](const QVariantMap& parameters) {
        DataPass::Options o;
        o.parameters = parameters;
        const auto d = DataPass::run(shared, db.session(), o);
        std::vector<int> out;
        for (const int b : bandsOf(*d, BandKind::Detail))
            out.push_back(d->value(b, "N").toInt());
        return out;
    };
    EXPECT_EQ((std::vector<int>{1, 2, 3}), numbers({}));
    EXPECT_EQ((std::vector<int>{2, 3, 1}), numbers({{"ORDEN", "A"}}));
    EXPECT_EQ(QStringLiteral("SELECT N, A FROM T ORDER BY A"),
              DataPass::mainQuery(def, DataPass::checkParameters(def, {{"ORDEN", "A"}})));

    // Anything but a declared code is refused before a query runs: a column name, a clause, a code
    // of another case.
    for (const char* code : {"N", "A DESC", "1; DELETE FROM T", "a", ""}) {
        SCOPED_TRACE(code);
        try {
            numbers({{"ORDEN", QString::fromUtf8(code)}});
            ADD_FAILURE() << "accepted the order " << code;
        } catch (const ReportError& e) {
            EXPECT_EQ(QStringLiteral(
                          "El informe t no tiene el orden \"%1\"; los órdenes son: # (Número), A (Letra)")
                          .arg(QString::fromUtf8(code)),
                      e.text());
        }
    }
    EXPECT_EQ(3, db.session().first(QStringLiteral("SELECT COUNT(*) FROM T"))->at(0).toInt());

    def.orderParameter = QStringLiteral("ORDENAR");
    EXPECT_THROW(DataPass::checkParameters(def, {}), ReportError);
}

TEST(DataPass, StopsWhenTheProgressSaysSo) {
    test::SalesFixture f;
    for (int i = 0; i < 1200; ++i)
        f.addSale(QStringLiteral("OESTE"), QStringLiteral("ZOE"), 1000 + i, QDate(2024, 2, 1),
                  QStringLiteral("x"), 1);
    DataPass::Options o = since(QDate(2024, 1, 1));
    qint64 seen = 0;
    o.progress = [&](const Progress& p) {
        seen = p.done;
        return false;
    };
    EXPECT_THROW(DataPass::run(test::SalesFixture::definition(), f.db.session(), o), Cancelled);
    EXPECT_EQ(1000, seen);
}

} // namespace
