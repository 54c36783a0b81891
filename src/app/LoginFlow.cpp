#include "app/LoginFlow.h"

namespace app {

void LoginFlow::reset() {
    attempts_ = 0;
    accepted_ = false;
    user_.reset();
}

bool LoginFlow::countAttempt() { return ++attempts_ <= kMaxAttempts; }

std::optional<UserRow> LoginFlow::findUser(db::Session& session, const QString& nombre) {
    // The engine compares CHAR values ignoring trailing blanks; the name must match exactly as
    // typed, so the comparison is finished here.
    for (const db::Row& r : session.all(QStringLiteral("SELECT CODIGO, NOMBRE, CLAVE, ACTIVO FROM USUARIOS "
                                                       "WHERE NOMBRE = ? ORDER BY CODIGO"),
                                        {nombre})) {
        if (r.text(QStringLiteral("NOMBRE")) != nombre) continue;
        return UserRow{r.integer(QStringLiteral("CODIGO")), r.text(QStringLiteral("NOMBRE")),
                       r.text(QStringLiteral("CLAVE")), r.text(QStringLiteral("ACTIVO"))};
    }
    return std::nullopt;
}

LoginFlow::Outcome LoginFlow::checkUser(const QString& typed) {
    if (!countAttempt()) return Outcome::TooManyAttempts;
    auto found = typed.isEmpty() ? std::nullopt : findUser(session_, typed);
    if (!found) return Outcome::UserMissing;
    user_ = std::move(found);
    attempts_ = 0;
    return Outcome::UserFound;
}

LoginFlow::Outcome LoginFlow::checkPassword(const QString& typed) {
    if (!countAttempt()) return Outcome::TooManyAttempts;
    if (!user_ || typed != user_->clave) return Outcome::PasswordWrong;
    attempts_ = 0;
    accepted_ = true;
    return Outcome::PasswordAccepted;
}

LoginFlow::Outcome LoginFlow::confirmNewPassword(const QString& password, const QString& confirmation) {
    if (!countAttempt()) return Outcome::TooManyAttempts;
    if (password != confirmation) return Outcome::ConfirmationDiffers;
    // The column holds 20 characters; a longer password would be stored cut and the user would not
    // know which one to type next time.
    if (password.size() > kPasswordLength) return Outcome::PasswordTooLong;
    session_.execute(QStringLiteral("UPDATE USUARIOS SET CLAVE = ? WHERE CODIGO = ?"), {password, user_->codigo});
    user_->clave = password;
    return Outcome::PasswordChanged;
}

} // namespace app
