#pragma once
// The installation file shared with the accounting product: a plain text file read line by line, of
// which line 5 is the ledger database's path and line 7 the inventory database's path. Every other
// line belongs to the other product and is ignored.

#include <QString>
#include <QStringList>
#include <optional>

namespace app {

class InstallationFile {
public:
    // Where the file is looked for: the --instalacion option, else ALMACEN_INSTALACION, else the
    // platform default ("c:\Orvel\DireccionBd.txt" on Windows, ~/.config/almacen/DireccionBd.txt
    // elsewhere).
    static QString locate(const QStringList& arguments);
    static QString defaultPath();

    // Nothing when the file does not exist or cannot be read.
    static std::optional<InstallationFile> read(const QString& path);

    // Empty when the line is absent or blank.
    QString ledgerPath() const { return ledger_; }
    QString inventoryPath() const { return inventory_; }

    // Writes a file whose line 7 names the inventory database (and line 5 the ledger, if given),
    // creating its folder; used by the demo set-up. Returns false when it cannot be written.
    static bool write(const QString& path, const QString& inventoryPath, const QString& ledgerPath = {});

private:
    QString ledger_;
    QString inventory_;
};

} // namespace app
