#pragma once
// The rules of the login dialog: the attempt counter, the user and password checks and the password
// change. More than three checks without a success in between end the application (or, during a
// password change, abandon the change).

#include "platform/db/Session.h"

#include <QString>
#include <optional>

namespace app {

struct UserRow {
    int codigo = 0;
    QString nombre;
    QString clave;
    QString activo;
};

class LoginFlow {
public:
    enum class Outcome {
        UserFound,
        UserMissing,
        PasswordAccepted,
        PasswordWrong,
        PasswordChanged,
        ConfirmationDiffers,
        PasswordTooLong,
        TooManyAttempts, // end the application (or abandon a password change)
    };

    static constexpr int kMaxAttempts = 3;
    static constexpr int kPasswordLength = 20; // USUARIOS.CLAVE

    static QString tooManyAttemptsText() { return QStringLiteral("Tiene Problemas con su identificación......Verifique"); }
    static QString userMissingText() { return QStringLiteral("Usuario no existe! Por favor Verifique su login"); }
    static QString passwordWrongText() { return QStringLiteral("Clave Incorecta! Por favor Verifique Clave"); }
    static QString confirmationDiffersText() { return QStringLiteral("Verifique la Clave......."); }
    static QString passwordTooLongText() {
        return QStringLiteral("La clave no puede tener más de %1 caracteres").arg(kPasswordLength);
    }

    explicit LoginFlow(db::Session& session) : session_(session) {}

    // A new showing of the dialog starts over.
    void reset();
    Outcome checkUser(const QString& typed);
    Outcome checkPassword(const QString& typed);
    Outcome confirmNewPassword(const QString& password, const QString& confirmation);

    int attempts() const { return attempts_; }
    bool accepted() const { return accepted_; }
    // The user the name check found (the current user once the password is accepted).
    const std::optional<UserRow>& user() const { return user_; }

    // The first user, in key order, whose name is exactly the text.
    static std::optional<UserRow> findUser(db::Session& session, const QString& nombre);

private:
    bool countAttempt();

    db::Session& session_;
    int attempts_ = 0;
    bool accepted_ = false;
    std::optional<UserRow> user_;
};

} // namespace app
