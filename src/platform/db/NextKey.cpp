#include "platform/db/NextKey.h"

#include "platform/db/DbError.h"

#include <algorithm>

namespace db {

int insertWithNextKey(Session& session, const QString& maxSql, const Params& maxParams,
                      const std::function<void(int number)>& insert, int attempts) {
    int lastTried = 0;
    for (int attempt = 1;; ++attempt) {
        const int candidate = std::max(session.scalar(maxSql, maxParams).toInt() + 1, lastTried + 1);
        try {
            // A savepoint, so that a refused insert inside the caller's transaction leaves no trace.
            Transaction step(session);
            insert(candidate);
            step.commit();
            return candidate;
        } catch (const DbError& e) {
            if (!(e.isKeyViolation() || e.isLockConflict()) || attempt >= attempts) throw;
            lastTried = candidate;
        }
    }
}

} // namespace db
