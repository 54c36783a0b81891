#include "master/AccountAssignment.h"

#include "platform/db/Session.h"

#include <stdexcept>

namespace master {

int assignInventoryAccount(db::Session& session, const QString& grupo, int subgrupo, const QString& cuenta) {
    const QString account = cuenta.trimmed();
    if (account.size() > 16)
        throw std::invalid_argument(
            QStringLiteral("La cuenta no puede tener más de 16 caracteres").toStdString());
    return session.execute(
        QStringLiteral("UPDATE PRODUCTOS SET CUENTACONTABLE = ? WHERE GRUPO = ? AND SUBGRUPO = ?"),
        {account.isEmpty() ? QVariant() : QVariant(account), grupo, subgrupo});
}

} // namespace master
