#include "platform/db/DatasetModel.h"
#include "platform/db/Statement.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <algorithm>
#include <gtest/gtest.h>

using db::Dataset;
using db::DatasetModel;

namespace {

constexpr int kRows = 1000;

// GRP repeats across every page and NAME is NULL on every fifth row, so page boundaries fall inside
// runs of equal ordering values and among NULLs.
QVariant nameOf(int id) {
    return id % 5 == 0 ? QVariant() : QVariant(QStringLiteral("N%1").arg(id % 13));
}

class DatasetModelTest : public ::testing::Test {
  protected:
    test::TestDatabase tdb{0};
    db::Session& s = tdb.session();

    void SetUp() override {
        s.execute("CREATE TABLE P (ID INTEGER NOT NULL PRIMARY KEY, GRP INTEGER NOT NULL, NAME VARCHAR(20), "
                  "CODE CHAR(6), QTY DOUBLE PRECISION)");
        db::Transaction tr(s);
        db::Statement ins(s, "INSERT INTO P VALUES (?, ?, ?, ?, ?)");
        // Inserted out of key order so that the engine's storage order is not the answer.
        for (int i = 0; i < kRows; ++i) {
            const int id = (i * 7919) % kRows + 1;
            ins.bind({id, id % 7, nameOf(id), QStringLiteral("C%1").arg(id), id * 0.5});
            ins.execute();
        }
        tr.commit();
    }

    static std::vector<int> ids(const DatasetModel& m) {
        std::vector<int> out;
        for (int r = 0; r < m.rowCount(); ++r)
            out.push_back(m.rowAt(r)["ID"].toInt());
        return out;
    }
};

TEST_F(DatasetModelTest, PagesKeepTheOrderAndLoseOrRepeatNoRow) {
    auto byId = [](int a, int b) { return a < b; };
    auto byGroup = [](int a, int b) { return std::pair(a % 7, a) < std::pair(b % 7, b); };
    auto byName = [](int a, int b) {
        const QVariant na = nameOf(a), nb = nameOf(b);
        if (na.isNull() != nb.isNull()) return na.isNull(); // NULL first
        if (!na.isNull() && na != nb) return na.toString() < nb.toString();
        return a < b;
    };
    const struct {
        QStringList order;
        std::function<bool(int, int)> less;
    } cases[] = {{{}, byId}, {{"GRP"}, byGroup}, {{"NAME"}, byName}};

    for (const auto& c : cases) {
        SCOPED_TRACE(c.order.join(",").toStdString());
        DatasetModel model(s, {.table = "P", .columns = {"ID", "NAME"}, .order = c.order});
        EXPECT_EQ(200, model.rowCount()) << "the first page comes at once";
        EXPECT_TRUE(model.canFetchMore({}));
        model.fetchMore({});
        EXPECT_EQ(400, model.rowCount());

        // The tester fetches pages of its own whenever the model changes.
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
        const int before = model.rowCount();
        model.fetchMore({});
        EXPECT_EQ(before + 200, model.rowCount());
        while (model.canFetchMore({}))
            model.fetchMore({});
        EXPECT_EQ(kRows, model.rowCount());

        std::vector<int> expected(kRows);
        for (int i = 0; i < kRows; ++i)
            expected[size_t(i)] = i + 1;
        std::sort(expected.begin(), expected.end(), c.less);
        EXPECT_EQ(expected, ids(model));

        model.reload();
        EXPECT_LT(model.rowCount(), kRows);
        const std::vector<int> reloaded = ids(model);
        EXPECT_TRUE(std::equal(reloaded.begin(), reloaded.end(), expected.begin()));
    }
}

TEST_F(DatasetModelTest, ShowsTrimmedTextNumbersAndLabels) {
    DatasetModel model(s, {.table = "P", .columns = {"CODE", "QTY", "ID"}});
    EXPECT_EQ("CODE", model.headerData(0, Qt::Horizontal).toString());
    model.setHeaderLabels({"Código", "Cantidad"});
    EXPECT_EQ("Código", model.headerData(0, Qt::Horizontal).toString());
    EXPECT_EQ("ID", model.headerData(2, Qt::Horizontal).toString()) << "no label: the column name";

    const QVariant code = model.data(model.index(2, 0));
    EXPECT_EQ("C3", code.toString()) << "CHAR without trailing blanks";
    EXPECT_EQ("1.5", model.data(model.index(2, 1)).toString()) << "numbers shown plainly";
    EXPECT_EQ(1.5, model.data(model.index(2, 1), Qt::EditRole).toDouble()) << "the value itself for editing";
    model.setColumnMasks({{}, "###,###.00"});
    EXPECT_EQ("1.50", model.data(model.index(2, 1)).toString());
}

TEST_F(DatasetModelTest, RowOfKeyPagesUpToTheRowOnly) {
    DatasetModel model(s, {.table = "P", .order = {"GRP"}});
    // ID 13 is the second of the 143 rows of GRP 6, the last group: in the fifth page.
    const int row = model.rowOfKey({"13"});
    ASSERT_EQ(858, row);
    EXPECT_EQ(QVariantList{13}, model.keyAt(row));
    EXPECT_EQ(1000, model.rowCount());

    DatasetModel fresh(s, {.table = "P"});
    EXPECT_EQ(449, fresh.rowOfKey({450}));
    EXPECT_EQ(600, fresh.rowCount());
    EXPECT_EQ(-1, fresh.rowOfKey({5000}));
    EXPECT_EQ(600, fresh.rowCount()) << "a missing key fetches nothing";
}

TEST_F(DatasetModelTest, FollowsTheDatasetsWritesButNotItsMoves) {
    Dataset ds(s, {.table = "P"});
    ds.open();
    DatasetModel model(ds, {"ID", "NAME"});
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy resets(&model, &DatasetModel::modelReset);
    model.fetchMore({});
    const int fetched = model.rowCount();

    ds.last();
    ds.locateExact({500});
    EXPECT_EQ(0, resets.count());
    EXPECT_EQ(fetched, model.rowCount());

    ds.insert();
    ds.setValue("ID", 1001);
    ds.setValue("GRP", 0);
    ds.post();
    EXPECT_EQ(1, resets.count());
    EXPECT_EQ(1000, model.rowOfKey({1001}));

    ds.locateExact({2});
    ds.remove();
    EXPECT_EQ(-1, model.rowOfKey({2}));
    EXPECT_EQ(1, model.rowOfKey({3}));

    ds.setFilter("GRP = ?", {3});
    EXPECT_EQ(ds.recordCount(), model.rowCount());
    for (int r = 0; r < model.rowCount(); ++r)
        EXPECT_EQ(3, model.rowAt(r)["ID"].toInt() % 7);
}

TEST_F(DatasetModelTest, DetailGridFollowsTheMaster) {
    s.execute("CREATE TABLE G (GRP INTEGER NOT NULL PRIMARY KEY)");
    for (int g : {0, 3, 9})
        s.execute("INSERT INTO G VALUES (?)", {g});
    Dataset groups(s, {.table = "G"});
    groups.open();
    DatasetModel lines(s, {.table = "P", .columns = {"ID"}, .master = &groups, .linkColumns = {"GRP"}});
    QAbstractItemModelTester tester(&lines, QAbstractItemModelTester::FailureReportingMode::Fatal);

    while (lines.canFetchMore({}))
        lines.fetchMore({});
    EXPECT_EQ(142, lines.rowCount()); // multiples of 7 up to 1000
    groups.next();
    EXPECT_EQ(3, lines.rowAt(0)["ID"].toInt());
    groups.next();
    EXPECT_EQ(0, lines.rowCount());
    EXPECT_FALSE(lines.canFetchMore({}));
}

} // namespace
