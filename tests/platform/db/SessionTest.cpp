#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "platform/db/Statement.h"
#include "support/TestDatabase.h"

#include <QDateTime>
#include <gtest/gtest.h>

using db::DbError;
using db::Params;

namespace {

class SessionTest : public ::testing::Test {
protected:
    test::TestDatabase tdb{0};
    db::Session& s = tdb.session();

    void SetUp() override {
        s.execute("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, SMALL SMALLINT, NUM DOUBLE PRECISION, "
                  "CODE CHAR(5), NAME VARCHAR(40), MOMENT TIMESTAMP, MEMO BLOB SUB_TYPE TEXT, "
                  "PICTURE BLOB SUB_TYPE BINARY)");
    }
};

TEST_F(SessionTest, EveryColumnTypeRoundTripsWithNulls) {
    const QDateTime moment(QDate(2026, 3, 31), QTime(23, 59, 58, 125));
    QByteArray picture(200000, '\0'); // several blob segments, with zero bytes
    for (int i = 0; i < picture.size(); ++i) picture[i] = char(i * 7);
    const QString memo = QStringLiteral("Línea uno\nSeñal de año: ñÑáéíóú");

    EXPECT_EQ(1, s.execute("INSERT INTO T VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                           {1, 7, 1234.5678, QStringLiteral("AB"), QStringLiteral("Añil"), moment, memo, picture}));
    EXPECT_EQ(1, s.execute("INSERT INTO T (ID) VALUES (?)", {2}));

    auto r = s.first("SELECT * FROM T WHERE ID = 1");
    ASSERT_TRUE(r);
    EXPECT_EQ(7, r->integer("SMALL"));
    EXPECT_DOUBLE_EQ(1234.5678, r->number("NUM"));
    EXPECT_EQ(QStringLiteral("AB"), r->text("CODE")) << "CHAR comes back without trailing blanks";
    EXPECT_EQ(QStringLiteral("Añil"), r->text("NAME"));
    EXPECT_EQ(moment, (*r)["MOMENT"].toDateTime());
    EXPECT_EQ(memo, r->text("MEMO"));
    EXPECT_EQ(picture, (*r)["PICTURE"].toByteArray());

    auto n = s.first("SELECT * FROM T WHERE ID = 2");
    ASSERT_TRUE(n);
    for (const char* col : {"SMALL", "NUM", "CODE", "NAME", "MOMENT", "MEMO", "PICTURE"})
        EXPECT_TRUE(n->isNull(col)) << col;
}

TEST_F(SessionTest, NamedParametersBindByNameAndRepeat) {
    s.execute("INSERT INTO T (ID, CODE, NUM) VALUES (:ID, :CODE, :NUM)", {{"ID", 5}, {"CODE", "X1"}, {"NUM", 2.0}});
    // A name used twice binds both markers; a colon inside a literal is not a parameter.
    auto r = s.first("SELECT ID, 'a:b' AS LIT FROM T WHERE CODE = :CODE AND NUM = :N AND ID = :N + 3",
                     {{"CODE", "X1"}, {"N", 2}});
    ASSERT_TRUE(r);
    EXPECT_EQ(5, r->integer("ID"));
    EXPECT_EQ(QStringLiteral("a:b"), r->text("LIT"));
}

TEST_F(SessionTest, ExecuteCountsChangedRowsAndReturningGivesTheRow) {
    for (int i = 1; i <= 5; ++i) s.execute("INSERT INTO T (ID, NUM) VALUES (?, ?)", {i, i * 10.0});
    EXPECT_EQ(3, s.execute("UPDATE T SET NUM = NUM + 1 WHERE ID > ?", {2}));
    EXPECT_EQ(0, s.execute("DELETE FROM T WHERE ID > 100"));
    auto r = s.first("UPDATE T SET NAME = 'x' WHERE ID = 4 RETURNING NUM, NAME");
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(41.0, r->number("NUM"));
    EXPECT_EQ(QStringLiteral("x"), r->text("NAME"));
}

TEST_F(SessionTest, AggregatesOfNoRowsAreNull) {
    EXPECT_FALSE(s.scalar("SELECT SUM(NUM) FROM T").isValid());
    EXPECT_EQ(0, s.scalar("SELECT COUNT(*) FROM T").toInt());
    EXPECT_FALSE(s.first("SELECT * FROM T"));
}

TEST_F(SessionTest, CursorReadsManyRowsAndCanBeReexecuted) {
    {
        db::Transaction tr(s);
        db::Statement ins(s, "INSERT INTO T (ID, NUM) VALUES (?, ?)");
        for (int i = 1; i <= 3000; ++i) {
            ins.bind(0, i);
            ins.bind(1, i * 0.5);
            ins.execute();
        }
        tr.commit();
    }
    db::Statement q(s, "SELECT ID, NUM FROM T WHERE ID >= ? ORDER BY ID");
    EXPECT_TRUE(q.isSelect());
    EXPECT_EQ(QStringList({"ID", "NUM"}), q.columnNames());
    for (int from : {1, 2991}) {
        q.bind(0, from);
        q.execute();
        int count = 0;
        double sum = 0;
        while (q.next()) {
            ++count;
            sum += q.value(1).toDouble();
        }
        EXPECT_EQ(3001 - from, count);
        if (from == 2991) {
            EXPECT_DOUBLE_EQ(0.5 * (2991 + 3000) * 10 / 2, sum);
        }
    }
}

TEST_F(SessionTest, ErrorsCarryEngineTextSqlCodeAndStatement) {
    s.execute("INSERT INTO T (ID) VALUES (1)");
    try {
        s.execute("INSERT INTO T (ID) VALUES (1)");
        FAIL() << "duplicate key accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.isKeyViolation());
        EXPECT_TRUE(e.engineText().contains("violation of PRIMARY or UNIQUE KEY")) << e.engineText().toStdString();
        EXPECT_EQ(-803, e.sqlCode());
        EXPECT_EQ(QStringLiteral("INSERT INTO T (ID) VALUES (1)"), e.statement());
    }
    try {
        s.execute("SELECT NOPE FROM T");
        FAIL() << "bad column accepted";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.engineText().contains("NOPE"));
        EXPECT_EQ(-206, e.sqlCode());
    }
    // A failed autocommit statement leaves nothing behind and the session keeps working.
    EXPECT_EQ(1, s.scalar("SELECT COUNT(*) FROM T").toInt());
}

TEST(SessionAttach, MissingDatabaseFailsWithTheEngineText) {
    db::ConnectionParams p;
    p.database = QStringLiteral("/nonexistent/folder/none.fdb");
    try {
        db::Session::attach(p);
        FAIL();
    } catch (const DbError& e) {
        EXPECT_FALSE(e.engineText().isEmpty());
    }
}

TEST(ConnectionParams, TellsServersFromLocalPaths) {
    struct Case {
        const char* database;
        bool remote;
    } cases[] = {{"/var/db/almacen.fdb", false},  {"C:\\Orvel\\almacen.fdb", false},
                 {"localhost:/var/db/a.fdb", true}, {"server/3051:/db/a.fdb", true},
                 {"almacen.fdb", false},            {"srv:C:\\db\\a.fdb", true}};
    for (const auto& c : cases) {
        db::ConnectionParams p;
        p.database = QString::fromLatin1(c.database);
        EXPECT_EQ(c.remote, p.isRemote()) << c.database;
    }
}

} // namespace
