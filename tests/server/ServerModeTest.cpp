#include "movements/DocumentHeaders.h"
#include "platform/db/DbError.h"
#include "support/ServerDatabase.h"

#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace {

using ServerMode = test::ServerDatabaseTest;

TEST_F(ServerMode, TwoWorkstationsSeeEachOthersCommittedWork) {
    auto other = db::Session::attach(params);
    s->execute("INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (1, 'Principal')");
    EXPECT_EQ(QStringLiteral("Principal"), other->scalar("SELECT NOMBRE FROM BODEGAS WHERE BODEGA = 1").toString());
}

TEST_F(ServerMode, LockConflictFailsAtOnce) {
    s->execute("INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (1, 'Principal')");
    auto other = db::Session::attach(params);
    db::Transaction holder(*s);
    s->execute("UPDATE BODEGAS SET NOMBRE = 'Uno' WHERE BODEGA = 1");
    try {
        other->execute("UPDATE BODEGAS SET NOMBRE = 'Dos' WHERE BODEGA = 1");
        FAIL() << "the second update waited or succeeded";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.isLockConflict()) << e.engineText().toStdString();
        EXPECT_TRUE(e.engineText().contains("update conflicts with concurrent update"));
    }
}

// Two workstations create documents of the same company and type at the same moment: every
// creation succeeds and no number is used twice.
TEST_F(ServerMode, ConcurrentNumberingNeverDuplicates) {
    constexpr int perStation = 60;
    std::vector<int> numbers[2];
    std::string failure[2];
    auto station = [&](int k) {
        try {
            auto session = db::Session::attach(params);
            for (int i = 0; i < perStation; ++i)
                numbers[k].push_back(movements::DocumentHeaders::create(*session, {"01", "FV", 1}));
        } catch (const std::exception& e) {
            failure[k] = e.what();
        }
    };
    std::thread a(station, 0), b(station, 1);
    a.join();
    b.join();
    EXPECT_EQ("", failure[0]);
    EXPECT_EQ("", failure[1]);
    std::set<int> all(numbers[0].begin(), numbers[0].end());
    all.insert(numbers[1].begin(), numbers[1].end());
    EXPECT_EQ(size_t(2 * perStation), all.size());
    EXPECT_EQ(2 * perStation, s->scalar("SELECT COUNT(DISTINCT CONSECUTIVO) FROM MOVIMIENTO").toInt());
}

} // namespace
