#include "support/TestDatabase.h"

#include "schema/InventorySchema.h"

#include <stdexcept>

namespace test {

TestDatabase::TestDatabase(int upToVersion) {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    path_ = dir_.filePath(QStringLiteral("almacen.fdb"));
    session_ = db::Session::create(params());
    if (upToVersion != 0) schema::inventoryUpgrader().upgrade(*session_, upToVersion);
}

TestDatabase::~TestDatabase() {
    if (session_) session_.reset();
}

db::ConnectionParams TestDatabase::params() const {
    db::ConnectionParams p;
    p.database = path_;
    return p;
}

std::unique_ptr<db::Session> TestDatabase::attachAnother() const { return db::Session::attach(params()); }

QString testServer() { return qEnvironmentVariable("ALMACEN_TEST_SERVER"); }

QString serverDataDir() {
    const QString dir = qEnvironmentVariable("ALMACEN_TEST_SERVER_DIR");
    return dir.isEmpty() ? QStringLiteral("/tmp") : dir;
}

} // namespace test
