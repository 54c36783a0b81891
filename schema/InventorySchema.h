#pragma once
// The versioned scripts of the inventory database (schema/inventory/NNN_name.sql, NNN the version).

#include "platform/db/SchemaUpgrader.h"

#include <vector>

namespace schema {

std::vector<db::SchemaScript> inventoryScripts();
db::SchemaUpgrader inventoryUpgrader();

} // namespace schema
