#pragma once
// The rows every installation needs before anyone can log in: the module menu (PROGRAMAS), the
// company profile (REGISTRO) and the administrator ADMIN with every menu entry allowed.

#include "platform/db/Session.h"

#include <QString>
#include <vector>

namespace app {

// One node of the module menu. The table is in tree pre-order: a node is followed by its whole
// subtree, so the row position is the node's state index in the permission string.
struct MenuRow {
    int level = 0;       // NIVEL: 0 for a module, 1 for a program inside it
    int program = 0;     // PROGRAMA handed to the dispatcher; 0 for a module node
    QString description; // DESCRIPCION, unique: the main window finds a chosen node by its text
    QString note;        // OBSERVACION, shown beside the tree

    bool isModule() const { return program == 0; }
    int image() const { return isModule() ? 0 : 2; }         // INDIMAGEN
    int selectedImage() const { return isModule() ? 1 : 3; } // INDSELECION
};

class SystemRows {
public:
    // Writes, in one transaction, whatever of the rows below is missing; running it again changes
    // nothing. The menu is written only into an empty PROGRAMAS table, so a menu an administrator
    // has reshaped is left alone.
    static void install(db::Session& session);

    // The standard module menu, NUMEROPROGRAMA 1, 2, 3... in this order.
    static const std::vector<MenuRow>& menuRows();

    static constexpr double kProfileNit = 900123456;
    static QString profileName() { return QStringLiteral("EMPRESA DE DEMOSTRACION S.A.S."); }
    static QString adminName() { return QStringLiteral("ADMIN"); }
    static QString adminPassword() { return QStringLiteral("admin"); }
    static constexpr int kPermissionLength = 200; // MENU.OPCIONES
};

} // namespace app
