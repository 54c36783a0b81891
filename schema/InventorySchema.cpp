#include "schema/InventorySchema.h"

#include <QDir>
#include <QFile>

static void initSchemaResource() { Q_INIT_RESOURCE(schema); }

namespace schema {

std::vector<db::SchemaScript> inventoryScripts() {
    initSchemaResource();
    std::vector<db::SchemaScript> scripts;
    const QDir dir(QStringLiteral(":/schema/inventory"));
    for (const QString& name : dir.entryList({QStringLiteral("*.sql")}, QDir::Files, QDir::Name)) {
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::ReadOnly)) continue;
        scripts.push_back({name.section(QLatin1Char('_'), 0, 0).toInt(), name, QString::fromUtf8(f.readAll())});
    }
    return scripts;
}

db::SchemaUpgrader inventoryUpgrader() { return db::SchemaUpgrader(inventoryScripts()); }

} // namespace schema
