#pragma once
// A prepared statement with bound parameters. Parameters are "?" markers or ":NAME" markers (the
// names are turned into positions when the statement is prepared). A SELECT opens a cursor read row
// by row with next(); the cursor runs in the session's explicit transaction or, in autocommit mode, in
// a read-only transaction of its own that ends when the cursor is closed or exhausted.

#include "platform/db/Params.h"
#include "platform/db/Row.h"
#include "platform/db/Session.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

namespace db {

class Statement {
public:
    Statement(Session& session, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    const QString& sql() const { return sql_; }
    int parameterCount() const;
    QStringList parameterNames() const { return paramNames_; }
    int columnCount() const;
    QStringList columnNames() const;
    bool isSelect() const;
    // The engine's access plan of the prepared statement ("PLAN (T INDEX (...))").
    QString plan() const;

    void bind(int index, const QVariant& value);
    void bind(const QString& name, const QVariant& value);
    void bind(const Params& params);
    void clearBindings();

    // Runs the statement. A SELECT opens its cursor (read rows with next()); any other statement
    // returns the number of rows it changed. A statement with RETURNING exposes its one row through
    // row() right away.
    int execute();
    bool next();
    const Row& row() const { return row_; }
    QVariant value(int column) const { return row_.at(column); }
    QVariant value(const QString& column) const { return row_[column]; }
    void close();

private:
    struct Impl;
    Session& session_;
    QString sql_;
    QStringList paramNames_;
    std::unique_ptr<Impl> d_;
    Row row_;
};

// Turns ":NAME" markers into "?" outside quotes and comments; names come back in marker order.
QString translateNamedParameters(const QString& sql, QStringList* names);

} // namespace db
