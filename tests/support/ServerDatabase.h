#pragma once
// A fresh database with the newest schema on the test server (ALMACEN_TEST_SERVER), dropped when the
// test ends; the test is skipped when no server is configured.

#include "platform/db/Session.h"
#include "schema/InventorySchema.h"
#include "support/TestDatabase.h"

#include <QUuid>
#include <gtest/gtest.h>
#include <memory>

namespace test {

class ServerDatabaseTest : public ::testing::Test {
  protected:
    db::ConnectionParams params;
    std::unique_ptr<db::Session> s;

    void SetUp() override {
        const QString server = testServer();
        if (server.isEmpty()) GTEST_SKIP() << "ALMACEN_TEST_SERVER not set";
        params.database = server + QLatin1Char(':') + serverDataDir() + QStringLiteral("/almacen-") +
                          QUuid::createUuid().toString(QUuid::Id128) + QStringLiteral(".fdb");
        params.password = qEnvironmentVariable("ALMACEN_TEST_PASSWORD", QStringLiteral("vorbantel"));
        s = db::Session::create(params);
        schema::inventoryUpgrader().upgrade(*s);
    }
    void TearDown() override {
        if (s) s->dropDatabase();
    }
};

} // namespace test
