#include "platform/db/DbError.h"

#include <algorithm>
#include <ibase.h>

namespace db {

DbError::DbError(QString engineText, int sqlCode, QString statement, std::vector<long> gdsCodes)
    : std::runtime_error(engineText.toStdString()), engineText_(std::move(engineText)), sqlCode_(sqlCode),
      statement_(std::move(statement)), gdsCodes_(std::move(gdsCodes)) {}

bool DbError::hasCode(long gds) const {
    return std::find(gdsCodes_.begin(), gdsCodes_.end(), gds) != gdsCodes_.end();
}

bool DbError::isLockConflict() const {
    return hasCode(isc_lock_conflict) || hasCode(isc_update_conflict) || hasCode(isc_deadlock);
}

bool DbError::isKeyViolation() const { return hasCode(isc_unique_key_violation) || hasCode(isc_no_dup); }

} // namespace db
