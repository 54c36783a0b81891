#include "cli/DatabaseFiles.h"

#include "app/SystemRows.h"
#include "platform/db/DbError.h"
#include "schema/InventorySchema.h"

#include <QFileInfo>

namespace cli {

bool databaseExists(const db::ConnectionParams& params) {
    if (!params.isRemote()) return QFileInfo::exists(params.database);
    try {
        db::Session::attach(params);
        return true;
    } catch (const db::DbError&) {
        return false;
    }
}

std::unique_ptr<db::Session> createDatabase(const db::ConnectionParams& params,
                                            const std::function<void(db::Session&)>& fill) {
    auto session = db::Session::create(params);
    try {
        schema::inventoryUpgrader().upgrade(*session);
        app::SystemRows::install(*session);
        if (fill) fill(*session);
    } catch (...) {
        try {
            session->dropDatabase();
        } catch (...) {
        }
        throw;
    }
    return session;
}

void dropDatabase(const db::ConnectionParams& params) { db::Session::attach(params)->dropDatabase(); }

} // namespace cli
