#pragma once
// The module menu as data: built from the PROGRAMAS rows (stored in tree pre-order, NIVEL the
// depth) and filtered by a user's permission string, where character p (counted from 1) set to "0"
// hides the node of row position p (counted from 0) with its whole subtree. The first row is never
// hidden, nor is any row beyond the string.

#include "platform/db/Session.h"

#include <QString>
#include <optional>
#include <vector>

namespace app {

struct ProgramRow {
    QString description;
    int level = 0;
    int image = 0;
    int selectedImage = 0;
    QString program; // PROGRAMA as text, as the dispatcher takes it
    QString note;
};

struct MenuNode {
    QString text;
    int image = 0;
    int selectedImage = 0;
    int stateIndex = 0; // row position in PROGRAMAS
    std::vector<MenuNode> children;
};

class MenuTree {
public:
    static constexpr int kMaxLevel = 10;

    static std::vector<ProgramRow> readPrograms(db::Session& session);
    // The user's permission string, or nothing when the user has no MENU row (everything shown).
    static std::optional<QString> readPermissions(db::Session& session, int userCode);

    static std::vector<MenuNode> build(const std::vector<ProgramRow>& rows);
    static void filter(std::vector<MenuNode>& roots, const QString& permissions);
    static bool hides(const QString& permissions, int stateIndex);

    // The program of the first row whose DESCRIPCION equals the chosen node's text.
    static std::optional<ProgramRow> programFor(const std::vector<ProgramRow>& rows, const QString& text);
};

} // namespace app
