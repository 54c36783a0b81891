#pragma once
// Splits an SQL script into statements: ";" ends a statement outside quotes and comments, and
// "SET TERM x ;" switches the terminator for trigger and procedure bodies, as isql does.

#include <QString>
#include <QStringList>

namespace db {

QStringList splitSqlScript(const QString& script);

} // namespace db
