#pragma once
// Brings a database to the newest schema: applies, in order, the scripts whose version is above the
// one recorded in the database's SCHEMA_VERSION table, and records each version once its script has
// run. On an up-to-date database it runs nothing.

#include "platform/db/Session.h"

#include <QString>
#include <functional>
#include <vector>

namespace db {

struct SchemaScript {
    int version = 0;
    QString name;
    QString text;
};

class SchemaUpgrader {
public:
    explicit SchemaUpgrader(std::vector<SchemaScript> scripts);

    // 0 for a database that has never been given a schema.
    static int currentVersion(Session& session);
    int latestVersion() const;

    // Applies the missing scripts up to `upTo` (the latest by default); returns how many ran.
    // Throws DbError naming the script and statement that failed.
    int upgrade(Session& session, int upTo = -1,
                const std::function<void(const SchemaScript&)>& onScript = {}) const;

private:
    std::vector<SchemaScript> scripts_;
};

} // namespace db
