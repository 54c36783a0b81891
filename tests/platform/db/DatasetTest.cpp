#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using db::Dataset;
using db::DatasetDefinition;
using db::DbError;

namespace {

// Composite key (A, B) and a nullable NAME with ties, so that ordering by NAME needs both the NULL
// handling and the key tiebreaker.
class DatasetTest : public ::testing::Test {
  protected:
    test::TestDatabase tdb{0};
    db::Session& s = tdb.session();

    void SetUp() override {
        s.execute(
            "CREATE TABLE T (A CHAR(3) NOT NULL, B INTEGER NOT NULL, NAME VARCHAR(20), QTY DOUBLE PRECISION, "
            "PRIMARY KEY (A, B))");
        const struct {
            const char* a;
            int b;
            const char* name;
        } rows[] = {{"A1", 1, "Pera"}, {"A1", 2, "Manzana"}, {"A1", 10, "Pera"},  {"B2", 1, nullptr},
                    {"B2", 5, "Uva"},  {"C3", 1, nullptr},   {"C3", 2, "Manzana"}};
        for (const auto& r : rows)
            s.execute("INSERT INTO T (A, B, NAME) VALUES (?, ?, ?)",
                      {r.a, r.b, r.name ? QVariant(QString::fromLatin1(r.name)) : QVariant()});
    }

    std::unique_ptr<Dataset> open(DatasetDefinition def = {}) {
        if (def.table.isEmpty() && def.query.isEmpty()) def.table = "T";
        auto ds = std::make_unique<Dataset>(s, def);
        ds->open();
        return ds;
    }

    static QString at(const Dataset& ds) {
        if (ds.isEmpty()) return "-";
        return ds.value("A").toString() + "/" + ds.value("B").toString();
    }

    static QStringList forward(Dataset& ds) {
        QStringList seen;
        for (bool ok = ds.first(); ok; ok = ds.next())
            seen << at(ds);
        EXPECT_TRUE(ds.isEof());
        return seen;
    }

    static QStringList backward(Dataset& ds) {
        QStringList seen;
        for (bool ok = ds.last(); ok; ok = ds.prior())
            seen.prepend(at(ds));
        EXPECT_TRUE(ds.isBof());
        return seen;
    }
};

TEST_F(DatasetTest, ReadsColumnsTypesAndKeyFromTheCatalogue) {
    auto ds = open();
    QStringList names;
    for (const auto& c : ds->columns())
        names << c.name;
    EXPECT_EQ(QStringList({"A", "B", "NAME", "QTY"}), names);
    EXPECT_EQ(QStringList({"A", "B"}), ds->keyColumns());
    EXPECT_EQ(QMetaType::QString, ds->column("a").type);
    EXPECT_EQ(QMetaType::Int, ds->column("B").type);
    EXPECT_EQ(QMetaType::Double, ds->column("QTY").type);
    EXPECT_FALSE(ds->column("A").nullable);
    EXPECT_TRUE(ds->column("NAME").nullable);
    EXPECT_EQ(7, ds->recordCount());
}

TEST_F(DatasetTest, DefinitionRejectsNamesTheTableLacks) {
    const DatasetDefinition bad[] = {
        {.table = "T", .columns = {"A", "NOPE"}},
        {.table = "T", .key = {"NOPE"}},
        {.table = "T", .order = {"NAME", "NOPE"}},
        {.table = "T", .filter = "NAME = :N"}, // no value for :N
        {.table = "NO_SUCH_TABLE"},
    };
    for (const auto& def : bad)
        EXPECT_THROW(Dataset(s, def), std::invalid_argument);
}

TEST_F(DatasetTest, BrowsesInKeyOrderOrInNameOrderWithNullsFirstAndTiesByKey) {
    const QStringList byKey = {"A1/1", "A1/2", "A1/10", "B2/1", "B2/5", "C3/1", "C3/2"};
    const QStringList byName = {"B2/1", "C3/1", "A1/2", "C3/2", "A1/1", "A1/10", "B2/5"};

    auto ds = open();
    EXPECT_EQ(byKey, forward(*ds));
    EXPECT_EQ(byKey, backward(*ds));

    ds->locateExact({"B2", 5});
    ds->setOrder({"NAME"});
    EXPECT_EQ("B2/5", at(*ds)) << "a new order keeps the current row";
    EXPECT_EQ(QStringList({"NAME", "A", "B"}), ds->orderColumns());
    EXPECT_EQ(byName, forward(*ds));
    EXPECT_EQ(byName, backward(*ds));

    // Moving past either end stays on the end row and raises the flag.
    ds->first();
    EXPECT_TRUE(ds->isBof());
    EXPECT_FALSE(ds->prior());
    EXPECT_EQ("B2/1", at(*ds));
    ds->next();
    EXPECT_FALSE(ds->isBof());
}

TEST_F(DatasetTest, ExactSearchMovesOnlyOnAMatchNearestFindsTheNextGreater) {
    auto ds = open();
    const struct {
        QVariantList values;
        bool nearest;
        bool found;
        const char* position;
    } cases[] = {
        {{"B2"}, false, true, "B2/1"},
        {{"B"}, false, false, "A1/2"},
        {{"B2", 5}, false, true, "B2/5"},
        {{"B2", "5"}, false, true, "B2/5"},      // text typed into a search box
        {{"B2", "cinco"}, false, false, "A1/2"}, // cannot be a number: no match, no error
        {{"A1XX"}, false, false, "A1/2"},        // longer than the CHAR(3) key
        {{"B"}, true, true, "B2/1"},
        {{"B2", 3}, true, true, "B2/5"},
        {{"A1", 10}, true, true, "A1/10"},
        {{"A1ZZ"}, true, true, "B2/1"},
        {{""}, true, true, "A1/1"},
        {{"ZZZ"}, true, false, "C3/2"}, // beyond every key: the last row
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ds->locateExact({"A1", 2}));
        const bool found = c.nearest ? ds->locateNearest(c.values) : ds->locateExact(c.values);
        EXPECT_EQ(c.found, found) << c.values.first().toString().toStdString() << " nearest " << c.nearest;
        EXPECT_EQ(c.position, at(*ds))
            << c.values.first().toString().toStdString() << " nearest " << c.nearest;
    }

    // Searching a column outside the order takes the first match in order.
    EXPECT_TRUE(ds->locateExact(QStringList{"NAME"}, {"Manzana"}));
    EXPECT_EQ("A1/2", at(*ds));
    ds->setOrder({"NAME"});
    EXPECT_TRUE(ds->locateNearest({"Pa"}));
    EXPECT_EQ("A1/1", at(*ds));
}

TEST_F(DatasetTest, InsertEditCancelAndDeleteRoundTripThroughTheDatabase) {
    auto ds = open();
    QSignalSpy written(ds.get(), &Dataset::dataChanged);
    ds->setDefaults([](Dataset& d) { d.setValue("QTY", 1.5); });
    ds->locateExact({"B2", 1});

    // Insert, then cancel: back on the row that was current.
    ds->insert();
    EXPECT_EQ(Dataset::State::Insert, ds->state());
    EXPECT_EQ(1.5, ds->value("QTY").toDouble());
    ds->setValue("A", "B2");
    ds->cancel();
    EXPECT_EQ(Dataset::State::Browse, ds->state());
    EXPECT_EQ("B2/1", at(*ds));

    ds->insert();
    ds->setValue("A", "B2");
    ds->setValue("B", "3");
    ds->setValue("NAME", "Kiwi");
    ds->post();
    EXPECT_EQ(Dataset::State::Browse, ds->state());
    EXPECT_EQ("B2/3", at(*ds));
    auto r = s.first("SELECT NAME, QTY FROM T WHERE A = 'B2' AND B = 3");
    ASSERT_TRUE(r);
    EXPECT_EQ("Kiwi", r->text("NAME"));
    EXPECT_EQ(1.5, r->number("QTY"));
    EXPECT_TRUE(ds->next());
    EXPECT_EQ("B2/5", at(*ds)) << "the new row takes its place in the order";

    // Edit and cancel restores the row as read and writes nothing.
    ds->edit();
    ds->setValue("NAME", "Mora");
    ds->cancel();
    EXPECT_EQ("Uva", ds->value("NAME").toString());
    EXPECT_EQ("Uva", s.scalar("SELECT NAME FROM T WHERE A = 'B2' AND B = 5").toString());

    // Editing the key updates the row where the old key was; a cleared number stores NULL.
    ds->prior();
    ds->edit();
    ds->setValue("B", 7);
    ds->setValue("QTY", "");
    ds->post();
    EXPECT_EQ("B2/7", at(*ds));
    EXPECT_EQ(0, s.scalar("SELECT COUNT(*) FROM T WHERE A = 'B2' AND B = 3").toInt());
    EXPECT_TRUE(s.first("SELECT QTY FROM T WHERE A = 'B2' AND B = 7")->isNull("QTY"));

    // Delete moves to the next row, or to the prior one at the end.
    ds->remove();
    EXPECT_EQ("C3/1", at(*ds));
    ds->last();
    ds->remove();
    EXPECT_EQ("C3/1", at(*ds));
    EXPECT_EQ(6, s.scalar("SELECT COUNT(*) FROM T").toInt());
    EXPECT_EQ(4, written.count());
}

TEST_F(DatasetTest, FailedPostKeepsTheStateAndTheTypedValues) {
    auto ds = open();
    ds->insert();
    ds->setValue("A", "A1");
    ds->setValue("B", 2);
    ds->setValue("NAME", "Duplicada");
    try {
        ds->post();
        FAIL() << "duplicate key posted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isKeyViolation()) << e.engineText().toStdString();
    }
    EXPECT_EQ(Dataset::State::Insert, ds->state());
    EXPECT_EQ("Duplicada", ds->value("NAME").toString());
    ds->setValue("B", 3);
    ds->post();
    EXPECT_EQ("A1/3", at(*ds));

    ds->edit();
    ds->setValue("B", 10); // onto another row's key
    EXPECT_THROW(ds->post(), DbError);
    EXPECT_EQ(Dataset::State::Edit, ds->state());
    EXPECT_EQ(10, ds->value("B").toInt());
    ds->cancel();
    EXPECT_EQ("A1/3", at(*ds));
}

TEST_F(DatasetTest, RowRemovedByAnotherWorkstation) {
    auto ds = open();
    auto other = tdb.attachAnother();
    ds->locateExact({"B2", 1});

    other->execute("DELETE FROM T WHERE A = 'B2' AND B = 1");
    ds->edit();
    ds->setValue("NAME", "Tarde");
    EXPECT_THROW(ds->post(), DbError) << "an update of a row that is gone must not pass silently";
    ds->cancel();

    ds->refresh();
    EXPECT_EQ("B2/5", at(*ds)) << "refresh moves to the nearest row";
}

TEST_F(DatasetTest, FilterBindsItsValues) {
    s.execute("INSERT INTO T (A, B, NAME) VALUES ('D4', 1, 'O''Brien')");
    s.execute("INSERT INTO T (A, B, NAME) VALUES ('D4', 2, 'O')");
    auto ds = open({.table = "T", .filter = "NAME = :N", .filterParams = {{"N", "O'Brien"}}});
    EXPECT_EQ(1, ds->recordCount());
    EXPECT_EQ("D4/1", at(*ds));
    EXPECT_FALSE(ds->next());

    ds->setFilter("NAME STARTING WITH ? AND B > ?", {"Pe", 0});
    EXPECT_EQ(QStringList({"A1/1", "A1/10"}), forward(*ds));
    EXPECT_FALSE(ds->locateExact({"B2"})) << "search stays within the filter";

    // A row edited out of the filter leaves the dataset where it would have stood.
    ds->first();
    ds->edit();
    ds->setValue("NAME", "Ciruela");
    ds->post();
    EXPECT_EQ("A1/10", at(*ds));
    EXPECT_EQ(1, ds->recordCount());
}

TEST_F(DatasetTest, DetailFollowsTheMastersCurrentRow) {
    s.execute("CREATE TABLE M (M CHAR(3) NOT NULL PRIMARY KEY, NOMBRE VARCHAR(20))");
    s.execute("INSERT INTO M VALUES ('A1', 'uno')");
    s.execute("INSERT INTO M VALUES ('B2', 'dos')");
    s.execute("INSERT INTO M VALUES ('Z9', 'sin detalle')");
    Dataset master(s, {.table = "M"});
    Dataset detail(s, {.table = "T", .master = &master, .linkColumns = {"A"}, .masterColumns = {"M"}});
    master.open();
    detail.open();
    QSignalSpy reopened(&detail, &Dataset::reopened);

    EXPECT_EQ(QStringList({"A1/1", "A1/2", "A1/10"}), forward(detail));
    master.next();
    EXPECT_EQ("B2/1", at(detail));
    EXPECT_EQ(2, detail.recordCount());

    master.refresh(); // same master row: the detail does not re-open
    EXPECT_EQ(1, reopened.count());

    // A pending change in the detail is posted before the master moves on.
    detail.edit();
    detail.setValue("NAME", "Pendiente");
    master.next();
    EXPECT_EQ(2, reopened.count());
    EXPECT_EQ("Pendiente", s.scalar("SELECT NAME FROM T WHERE A = 'B2' AND B = 1").toString());
    EXPECT_TRUE(detail.isEmpty());

    // A new detail row takes the master's key.
    detail.insert();
    EXPECT_EQ("Z9", detail.value("A").toString());
    detail.setValue("B", 1);
    detail.post();
    EXPECT_EQ("Z9/1", at(detail));
    EXPECT_EQ(1, detail.recordCount());
}

TEST_F(DatasetTest, QueryDatasetBrowsesAndRefusesEdits) {
    auto ds = open({.query = "SELECT A, B, NAME || '!' AS SHOUT FROM T WHERE B < 5",
                    .key = {"A", "B"},
                    .order = {"SHOUT"},
                    .filter = "A <> ?",
                    .filterParams = {"C3"}});
    EXPECT_TRUE(ds->isReadOnly());
    EXPECT_EQ(QStringList({"B2/1", "A1/2", "A1/1"}), forward(*ds));
    EXPECT_TRUE(ds->locateExact(QStringList{"SHOUT"}, {"Pera!"}));
    EXPECT_THROW(ds->edit(), std::logic_error);
    EXPECT_THROW(ds->insert(), std::logic_error);
}

} // namespace
