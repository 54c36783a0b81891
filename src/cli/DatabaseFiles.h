#pragma once
// Creating, opening and removing inventory databases for the command line, so that a failed
// creation never leaves a half-made database behind that looks complete.

#include "platform/db/Session.h"

#include <functional>
#include <memory>

namespace cli {

bool databaseExists(const db::ConnectionParams& params);

// Creates a new database with the newest schema and the system rows, then runs `fill` on it. When
// anything fails the new database is dropped and the error is rethrown.
std::unique_ptr<db::Session> createDatabase(const db::ConnectionParams& params,
                                            const std::function<void(db::Session&)>& fill = {});

// Drops an existing database (used by "demo --force").
void dropDatabase(const db::ConnectionParams& params);

} // namespace cli
