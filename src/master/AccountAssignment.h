#pragma once
// "Pasa Cuenta": gives every item of one group and sub-group the same inventory account.

#include <QString>

namespace db {
class Session;
}

namespace master {

// Sets PRODUCTOS.CUENTACONTABLE for the items of (grupo, subgrupo) in one statement and returns how
// many items changed. An account longer than 16 characters is refused with std::invalid_argument
// carrying a Spanish text, before anything is written.
int assignInventoryAccount(db::Session& session, const QString& grupo, int subgrupo, const QString& cuenta);

} // namespace master
