#pragma once
// One attachment to a Firebird database, embedded or through a server.
//
// Autocommit by default: a statement run outside a Transaction runs in a transaction of its own that
// commits at once (or rolls back when the statement fails). Every transaction is read committed,
// record version and no wait, so a lock conflict fails at once with the engine's text instead of
// hanging the workstation.

#include "platform/db/ConnectionParams.h"
#include "platform/db/Params.h"
#include "platform/db/Row.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <vector>

namespace db {

class Statement;
class Transaction;

class Session {
public:
    // Attaches to an existing database; throws DbError with the engine's text.
    static std::unique_ptr<Session> attach(const ConnectionParams& params);
    // Creates a new, empty database (UTF8, dialect 3) and attaches to it.
    static std::unique_ptr<Session> create(const ConnectionParams& params, int pageSize = 16384);
    // Removes a database file that this session is attached to; the session is closed afterwards.
    void dropDatabase();

    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const ConnectionParams& params() const { return params_; }

    // Runs one statement and returns the number of rows it inserted, updated or deleted.
    int execute(const QString& sql, const Params& params = {});
    // First column of the first row, or an invalid QVariant when there is no row or it is NULL.
    QVariant scalar(const QString& sql, const Params& params = {});
    std::optional<Row> first(const QString& sql, const Params& params = {});
    // Every row; for results known to be small. Large results are read with a Statement cursor.
    std::vector<Row> all(const QString& sql, const Params& params = {});

    bool inTransaction() const { return depth_ > 0; }

    // Internal plumbing for Statement and Transaction.
    struct Handles;
    Handles& handles() { return *h_; }
    // The explicit transaction's handle pointer, or nullptr in autocommit mode.
    void* currentTransaction();

private:
    friend class Transaction;
    explicit Session(ConnectionParams params);
    void beginLevel();
    void commitLevel();
    void rollbackLevel();

    ConnectionParams params_;
    std::unique_ptr<Handles> h_;
    int depth_ = 0;
};

// All-or-nothing work. The guard rolls back unless commit() was called. Guards nest: an inner guard
// is a savepoint of the outer transaction, so a rule that needs atomicity can open one whether or not
// its caller already has.
class Transaction {
public:
    explicit Transaction(Session& session);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();
    bool active() const { return active_; }

private:
    Session& session_;
    bool active_ = true;
};

} // namespace db
