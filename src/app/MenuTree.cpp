#include "app/MenuTree.h"

#include <algorithm>

namespace app {

std::vector<ProgramRow> MenuTree::readPrograms(db::Session& session) {
    std::vector<ProgramRow> rows;
    for (const db::Row& r : session.all(QStringLiteral("SELECT DESCRIPCION, NIVEL, INDIMAGEN, INDSELECION, PROGRAMA, "
                                                       "OBSERVACION FROM PROGRAMAS ORDER BY NUMEROPROGRAMA"))) {
        rows.push_back({r.text(QStringLiteral("DESCRIPCION")), r.integer(QStringLiteral("NIVEL")),
                        r.integer(QStringLiteral("INDIMAGEN")), r.integer(QStringLiteral("INDSELECION")),
                        r.isNull(QStringLiteral("PROGRAMA")) ? QString() : r.text(QStringLiteral("PROGRAMA")),
                        r.text(QStringLiteral("OBSERVACION"))});
    }
    return rows;
}

std::optional<QString> MenuTree::readPermissions(db::Session& session, int userCode) {
    auto row = session.first(QStringLiteral("SELECT OPCIONES FROM MENU WHERE CODIGOUSUARIO = ?"), {userCode});
    if (!row) return std::nullopt;
    return row->text(QStringLiteral("OPCIONES"));
}

std::vector<MenuNode> MenuTree::build(const std::vector<ProgramRow>& rows) {
    std::vector<MenuNode> roots;
    // Path of indices from the roots to the latest node added at each level.
    std::vector<std::vector<MenuNode>*> containerAt(kMaxLevel + 2, nullptr);
    std::vector<size_t> latestAt(kMaxLevel + 1, 0);
    int deepest = -1; // deepest level that has a latest node
    for (size_t i = 0; i < rows.size(); ++i) {
        const ProgramRow& r = rows[i];
        // A row may be at most one level below the one before; a malformed deeper row hangs under
        // the deepest node there is, so no row is lost.
        const int level = std::clamp(r.level, 0, std::min(kMaxLevel, deepest + 1));
        std::vector<MenuNode>* into = &roots;
        if (level > 0) {
            std::vector<MenuNode>* parentList = containerAt[size_t(level - 1)];
            into = &(*parentList)[latestAt[size_t(level - 1)]].children;
        }
        into->push_back({r.description, r.image, r.selectedImage, int(i), {}});
        containerAt[size_t(level)] = into;
        latestAt[size_t(level)] = into->size() - 1;
        deepest = level;
    }
    return roots;
}

bool MenuTree::hides(const QString& permissions, int stateIndex) {
    return stateIndex >= 1 && stateIndex <= permissions.size() && permissions[stateIndex - 1] == QLatin1Char('0');
}

void MenuTree::filter(std::vector<MenuNode>& nodes, const QString& permissions) {
    nodes.erase(std::remove_if(nodes.begin(), nodes.end(),
                               [&](const MenuNode& n) { return hides(permissions, n.stateIndex); }),
                nodes.end());
    for (MenuNode& n : nodes) filter(n.children, permissions);
}

std::optional<ProgramRow> MenuTree::programFor(const std::vector<ProgramRow>& rows, const QString& text) {
    for (const ProgramRow& r : rows)
        if (r.description == text) return r;
    return std::nullopt;
}

} // namespace app
