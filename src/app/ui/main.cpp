// Process start: the installation file, the shared data module with the inventory connection, the
// main window and its login dialog, then the event loop until the main window closes.

#include "app/InstallationFile.h"
#include "app/TDMGeneral.h"
#include "app/ui/ProgramDispatcher.h"
#include "app/ui/TFrmAlmacen.h"
#include "platform/db/DbError.h"
#include "platform/ui/Messages.h"
#include "reports/ReportCatalog.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("almacen"));
    QApplication::setApplicationDisplayName(QStringLiteral("Almacen"));
    QLocale fixed(QLocale::English, QLocale::UnitedStates);
    QLocale::setDefault(fixed);
    reports::catalog(); // the lists the windows print

    const QString installation = app::InstallationFile::locate(application.arguments());
    const auto file = app::InstallationFile::read(installation);
    if (!file) {
        ui::Messages::current().error(nullptr, QStringLiteral("Falta Instalacion"));
        return 1;
    }

    // Line 7 names the inventory database and line 5 the ledger; where a line is empty the engine's
    // aliases "Almacen" and "OrvelNi" (databases.conf) stand in for them.
    db::ConnectionParams inventory;
    inventory.database = file->inventoryPath().isEmpty() ? QStringLiteral("Almacen") : file->inventoryPath();
    db::ConnectionParams ledger;
    ledger.database = file->ledgerPath().isEmpty() ? QStringLiteral("OrvelNi") : file->ledgerPath();
    for (db::ConnectionParams* p : {&inventory, &ledger}) {
        p->user = qEnvironmentVariable("ALMACEN_DB_USER", p->user);
        p->password = qEnvironmentVariable("ALMACEN_DB_PASSWORD", p->password);
    }

    std::unique_ptr<app::TDMGeneral> dm;
    try {
        dm = std::make_unique<app::TDMGeneral>(inventory, ledger);
    } catch (const db::DbError& e) {
        ui::Messages::current().error(nullptr, e.engineText());
        return 1;
    }

    app::TFrmAlmacen window(*dm, app::ProgramDispatcher::standard());
    window.show();
    return application.exec();
}
