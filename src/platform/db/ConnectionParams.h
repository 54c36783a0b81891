#pragma once
// Where a database lives and how to log in. A path without a host ("/data/almacen.fdb") opens the
// file in-process through the embedded engine; "host:/path" or "host/port:/path" reaches a server.

#include <QString>

namespace db {

struct ConnectionParams {
    QString database;
    QString user = QStringLiteral("SYSDBA");
    QString password = QStringLiteral("vorbantel");
    QString charset = QStringLiteral("UTF8");

    // True when the database names a server ("host:/path", "host/port:/path"); a Windows drive
    // letter ("C:\...") is a local path.
    bool isRemote() const;
};

} // namespace db
