#include "app/InstallationFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

namespace app {

QString InstallationFile::defaultPath() {
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\Orvel\\DireccionBd.txt");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/almacen/DireccionBd.txt");
#endif
}

QString InstallationFile::locate(const QStringList& arguments) {
    const qsizetype i = arguments.indexOf(QStringLiteral("--instalacion"));
    if (i >= 0 && i + 1 < arguments.size()) return arguments[i + 1];
    const QString env = qEnvironmentVariable("ALMACEN_INSTALACION");
    return env.isEmpty() ? defaultPath() : env;
}

std::optional<InstallationFile> InstallationFile::read(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    InstallationFile file;
    QTextStream in(&f);
    for (int line = 1; !in.atEnd(); ++line) {
        const QString text = in.readLine().trimmed();
        if (line == 5) file.ledger_ = text;
        if (line == 7) file.inventory_ = text;
    }
    return file;
}

bool InstallationFile::write(const QString& path, const QString& inventoryPath, const QString& ledgerPath) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate)) return false;
    QTextStream out(&f);
    out << "Instalacion del sistema de almacen\n\n\n\n" << ledgerPath << "\n\n" << inventoryPath << "\n";
    return out.status() == QTextStream::Ok;
}

} // namespace app
