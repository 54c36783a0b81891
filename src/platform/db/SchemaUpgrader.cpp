#include "platform/db/SchemaUpgrader.h"

#include "platform/db/DbError.h"
#include "platform/db/SqlScript.h"

#include <QDateTime>
#include <algorithm>

namespace db {

SchemaUpgrader::SchemaUpgrader(std::vector<SchemaScript> scripts) : scripts_(std::move(scripts)) {
    std::sort(scripts_.begin(), scripts_.end(),
              [](const SchemaScript& a, const SchemaScript& b) { return a.version < b.version; });
}

int SchemaUpgrader::currentVersion(Session& session) {
    const QVariant exists = session.scalar(
        QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'SCHEMA_VERSION'"));
    if (exists.toInt() == 0) return 0;
    return session.scalar(QStringLiteral("SELECT MAX(VERSION) FROM SCHEMA_VERSION")).toInt();
}

int SchemaUpgrader::latestVersion() const { return scripts_.empty() ? 0 : scripts_.back().version; }

int SchemaUpgrader::upgrade(Session& session, int upTo,
                            const std::function<void(const SchemaScript&)>& onScript) const {
    if (upTo < 0) upTo = latestVersion();
    int current = currentVersion(session);
    if (current == 0 && session.scalar(QStringLiteral("SELECT COUNT(*) FROM RDB$RELATIONS WHERE "
                                                      "RDB$RELATION_NAME = 'SCHEMA_VERSION'"))
                                .toInt() == 0) {
        session.execute(QStringLiteral("CREATE TABLE SCHEMA_VERSION (VERSION INTEGER NOT NULL PRIMARY KEY, "
                                       "NAME VARCHAR(100), APPLIED TIMESTAMP)"));
    }
    int ran = 0;
    for (const SchemaScript& script : scripts_) {
        if (script.version <= current || script.version > upTo) continue;
        if (onScript) onScript(script);
        // DDL runs one statement at a time: Firebird makes a new table usable by the next
        // statement (a view, an index) only once its creation has committed.
        for (const QString& stmt : splitSqlScript(script.text)) {
            try {
                session.execute(stmt);
            } catch (const DbError& e) {
                throw DbError(QStringLiteral("%1\n(%2)").arg(e.engineText(), script.name), e.sqlCode(),
                              e.statement(), e.gdsCodes());
            }
        }
        session.execute(QStringLiteral("INSERT INTO SCHEMA_VERSION (VERSION, NAME, APPLIED) VALUES (?, ?, ?)"),
                        {script.version, script.name, QDateTime::currentDateTime()});
        current = script.version;
        ++ran;
    }
    return ran;
}

} // namespace db
