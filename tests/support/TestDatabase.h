#pragma once
// A fresh embedded inventory database in a temporary folder, built from the schema scripts and
// removed when the test ends. Seed only the rows a test needs.

#include "platform/db/Session.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace test {

class TestDatabase {
public:
    // upToVersion < 0: the newest schema; 0: an empty database without any schema.
    explicit TestDatabase(int upToVersion = -1);
    ~TestDatabase();

    db::Session& session() { return *session_; }
    const QString& path() const { return path_; }
    db::ConnectionParams params() const;
    // A second attachment to the same database (another workstation).
    std::unique_ptr<db::Session> attachAnother() const;

private:
    QTemporaryDir dir_;
    QString path_;
    std::unique_ptr<db::Session> session_;
};

// Server-mode tests run against ALMACEN_TEST_SERVER ("localhost" or "host/port"); empty when no
// server is configured, and the tests skip.
QString testServer();
QString serverDataDir();

} // namespace test
