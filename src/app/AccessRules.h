#pragma once
// Which user names reach the administrator commands of the main window. The names are compared
// exactly, case included.

#include <QString>
#include <QStringList>

namespace app {

class AccessRules {
public:
    // "&Seguridades": the users window.
    static bool mayOpenSecurity(const QString& nombre) {
        static const QStringList names = {"ADMIN", "Administrador", "qzt", "Qzt", "QZT"};
        return names.contains(nombre);
    }
    // "&Opción de Menus": the menu-definition window (not for "ADMIN").
    static bool mayEditMenu(const QString& nombre) {
        static const QStringList names = {"Administrador", "qzt", "Qzt", "QZT"};
        return names.contains(nombre);
    }
};

} // namespace app
