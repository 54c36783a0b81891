#pragma once
// Numbering by "highest stored plus one" that survives two workstations numbering at once: the
// insert is retried with a higher number when another session took the number first (key
// violation) or holds it in an open transaction (lock conflict). No number is reserved ahead.

#include "platform/db/Params.h"
#include "platform/db/Session.h"

#include <QString>
#include <functional>

namespace db {

// maxSql reads the highest number in use (NULL when none); insert writes the row with the number it
// is given. Returns the number written. Other database errors, and a conflict that persists over
// `attempts` tries, reach the caller as DbError.
int insertWithNextKey(Session& session, const QString& maxSql, const Params& maxParams,
                      const std::function<void(int number)>& insert, int attempts = 50);

} // namespace db
