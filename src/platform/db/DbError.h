#pragma once
// Error raised by the database layer: carries the engine's own message text, its SQL code, the
// engine's primary error code and the statement that failed, so a user sees the database's text and
// a developer can find the cause.

#include <QString>
#include <stdexcept>
#include <vector>

namespace db {

class DbError : public std::runtime_error {
public:
    DbError(QString engineText, int sqlCode, QString statement, std::vector<long> gdsCodes = {});

    const QString& engineText() const { return engineText_; }
    int sqlCode() const { return sqlCode_; }
    const QString& statement() const { return statement_; }
    const std::vector<long>& gdsCodes() const { return gdsCodes_; }

    bool hasCode(long gds) const;
    // Another transaction holds the row (no-wait lock conflict, update conflict, deadlock).
    bool isLockConflict() const;
    // A primary or unique key already holds the value.
    bool isKeyViolation() const;

private:
    QString engineText_;
    int sqlCode_;
    QString statement_;
    std::vector<long> gdsCodes_;
};

} // namespace db
