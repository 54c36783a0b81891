#pragma once
// Firebird client-library plumbing shared by Session and Statement. Not part of the public interface.

#include "platform/db/Session.h"

#include <QString>
#include <ibase.h>

namespace db {

struct Session::Handles {
    isc_db_handle db = 0;
    isc_tr_handle tr = 0; // the explicit transaction, 0 in autocommit mode
    int savepointSerial = 0;
};

namespace fb {

// Throws DbError built from the status vector when it reports a failure.
void check(const ISC_STATUS* status, const QString& statement);
[[noreturn]] void raise(const ISC_STATUS* status, const QString& statement);

// Read committed, record version, no wait.
isc_tr_handle startTransaction(Session::Handles& h, bool readOnly, const QString& context);
void commit(isc_tr_handle& tr, const QString& context);
void rollbackQuietly(isc_tr_handle& tr);

} // namespace fb
} // namespace db
