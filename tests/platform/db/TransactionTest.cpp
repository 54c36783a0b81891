#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

class TransactionTest : public ::testing::Test {
protected:
    test::TestDatabase tdb{0};
    db::Session& s = tdb.session();
    void SetUp() override {
        s.execute("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NUM DOUBLE PRECISION)");
        s.execute("INSERT INTO T VALUES (1, 10)");
    }
    int count() { return s.scalar("SELECT COUNT(*) FROM T").toInt(); }
};

TEST_F(TransactionTest, GuardRollsBackUnlessCommitted) {
    {
        db::Transaction tr(s);
        s.execute("INSERT INTO T VALUES (2, 20)");
        EXPECT_EQ(2, count()) << "the transaction sees its own work";
    }
    EXPECT_FALSE(s.inTransaction());
    EXPECT_EQ(1, count());
    {
        db::Transaction tr(s);
        s.execute("INSERT INTO T VALUES (2, 20)");
        tr.commit();
    }
    EXPECT_EQ(2, count());
}

TEST_F(TransactionTest, ExceptionInsideTheGuardLeavesNothingWritten) {
    EXPECT_THROW(
        {
            db::Transaction tr(s);
            s.execute("INSERT INTO T VALUES (3, 30)");
            s.execute("INSERT INTO T VALUES (1, 99)"); // duplicate key
            tr.commit();
        },
        db::DbError);
    EXPECT_EQ(1, count());
}

TEST_F(TransactionTest, NestedGuardsAreSavepoints) {
    db::Transaction outer(s);
    s.execute("INSERT INTO T VALUES (2, 20)");
    {
        db::Transaction inner(s);
        s.execute("INSERT INTO T VALUES (3, 30)");
    } // inner rolled back alone
    {
        db::Transaction inner(s);
        s.execute("INSERT INTO T VALUES (4, 40)");
        inner.commit();
    }
    outer.commit();
    EXPECT_EQ(QVariant(3), s.scalar("SELECT COUNT(*) FROM T").toInt());
    EXPECT_FALSE(s.first("SELECT * FROM T WHERE ID = 3"));
}

TEST_F(TransactionTest, WorkIsInvisibleToOthersUntilCommit) {
    auto other = tdb.attachAnother();
    db::Transaction tr(s);
    s.execute("INSERT INTO T VALUES (2, 20)");
    EXPECT_EQ(1, other->scalar("SELECT COUNT(*) FROM T").toInt());
    tr.commit();
    EXPECT_EQ(2, other->scalar("SELECT COUNT(*) FROM T").toInt());
}

// One workstation holds an update of a row; another's update of the same row fails at once with the
// engine's own text instead of waiting, and succeeds once the first has committed.
TEST_F(TransactionTest, LockConflictFailsAtOnceWithTheEngineText) {
    auto other = tdb.attachAnother();
    db::Transaction holder(s);
    s.execute("UPDATE T SET NUM = 11 WHERE ID = 1");

    try {
        other->execute("UPDATE T SET NUM = 12 WHERE ID = 1");
        FAIL() << "second update did not fail";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.isLockConflict());
        EXPECT_TRUE(e.engineText().contains("update conflicts with concurrent update")) << e.engineText().toStdString();
    }
    // Readers are not blocked and see the committed value.
    EXPECT_DOUBLE_EQ(10, other->scalar("SELECT NUM FROM T WHERE ID = 1").toDouble());
    holder.commit();
    EXPECT_EQ(1, other->execute("UPDATE T SET NUM = 12 WHERE ID = 1"));
}

} // namespace
