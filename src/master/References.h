#pragma once
// Whether a master row is still used by items, documents or other master rows. The database keeps no
// foreign keys, so a window asks here before it deletes: a group, warehouse or document type that
// stored documents name must stay, or those documents lose their meaning.

#include <QString>
#include <QVariant>

namespace db {
class Session;
}

namespace master {

// Empty when nothing uses the row whose key column `table`'s key has the value `key`; otherwise the
// Spanish message that refuses the delete ("... está en uso en productos."). A table without known
// users gives an empty text.
QString whyInUse(db::Session& session, const QString& table, const QVariant& key);

} // namespace master
