#include "app/ui/TFrmLogin.h"

#include "platform/ui/AppExit.h"
#include "platform/ui/Messages.h"

#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace app {

namespace {

QLineEdit* field(QWidget* parent, const char* name, const char* hint, bool secret) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setToolTip(QString::fromUtf8(hint));
    if (secret) e->setEchoMode(QLineEdit::Password);
    return e;
}

// A focus change caused by a message box or by switching windows is not the user leaving the field.
bool userLeftField(QEvent* event) {
    if (event->type() != QEvent::FocusOut) return false;
    const Qt::FocusReason r = static_cast<QFocusEvent*>(event)->reason();
    return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason;
}

} // namespace

TFrmLogin::TFrmLogin(db::Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), flow_(session) {
    setObjectName(QStringLiteral("TFrmLogin"));
    setWindowTitle(QStringLiteral("LOGIN"));
    setModal(true);

    login_ = field(this, "edtLogin", "Teclee el codigo del Usuario", false);
    login_->setMaxLength(30);
    password_ = field(this, "edtPassword", "Digita La Clave", true);
    ok_ = new QPushButton(QStringLiteral("&OK"), this);
    ok_->setObjectName(QStringLiteral("btnOk"));
    ok_->setToolTip(QStringLiteral("Entrar al Sistema Autorizado"));
    change_ = new QPushButton(QStringLiteral("&CAMBIAR CLAVE"), this);
    change_->setObjectName(QStringLiteral("btnCambiarClave"));
    change_->setToolTip(QStringLiteral("Para Cambiar La Clave de Usuario"));
    for (QPushButton* b : {ok_, change_}) b->setAutoDefault(false);

    changeGroup_ = new QGroupBox(QStringLiteral("Cambio de Clave"), this);
    changeGroup_->setObjectName(QStringLiteral("grpCambioClave"));
    newPassword_ = field(changeGroup_, "edtNuevaClave", "Nueva clave", true);
    confirmation_ = field(changeGroup_, "edtConfirmacion", "Confirme la nueva clave", true);
    // The column holds 20 characters; longer passwords cannot be typed.
    newPassword_->setMaxLength(LoginFlow::kPasswordLength);
    confirmation_->setMaxLength(LoginFlow::kPasswordLength);
    auto* changeForm = new QFormLayout(changeGroup_);
    changeForm->addRow(QStringLiteral("Nueva"), newPassword_);
    changeForm->addRow(QStringLiteral("Confirmación"), confirmation_);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("LOGIN"), login_);
    form->addRow(QStringLiteral("PASSWORD"), password_);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(change_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addWidget(changeGroup_);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QLineEdit* e : {login_, password_, newPassword_, confirmation_}) e->installEventFilter(this);
    connect(login_, &QLineEdit::returnPressed, this, &TFrmLogin::checkUser);
    connect(password_, &QLineEdit::returnPressed, this, &TFrmLogin::checkPassword);
    connect(newPassword_, &QLineEdit::returnPressed, confirmation_, [this] { confirmation_->setFocus(); });
    connect(confirmation_, &QLineEdit::returnPressed, this, &TFrmLogin::checkConfirmation);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(change_, &QPushButton::clicked, this, &TFrmLogin::startChange);
    resetState();
}

void TFrmLogin::resetState() {
    flow_.reset();
    login_->clear();
    password_->clear();
    lockFields(false);
    ok_->setDefault(false);
    ok_->setEnabled(false);
    change_->setEnabled(false);
    changeGroup_->hide();
    changeGroup_->setEnabled(false);
    newPassword_->clear();
    confirmation_->clear();
}

void TFrmLogin::showEvent(QShowEvent* event) {
    resetState();
    QDialog::showEvent(event);
    login_->setFocus();
}

bool TFrmLogin::eventFilter(QObject* watched, QEvent* event) {
    // A check moves the focus itself; that move is not the user leaving the field again.
    if (!checking_ && userLeftField(event)) {
        if (watched == login_ && !flow_.accepted()) checkUser();
        else if (watched == password_ && !flow_.accepted()) checkPassword();
        else if (watched == confirmation_ && changeGroup_->isEnabled()) checkConfirmation();
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmLogin::tooManyAttempts() {
    ui::Messages::current().error(this, LoginFlow::tooManyAttemptsText());
    ui::AppExit::request(1);
}

void TFrmLogin::checkUser() {
    const QScopedValueRollback<bool> busy(checking_, true);
    switch (flow_.checkUser(login_->text())) {
    case LoginFlow::Outcome::TooManyAttempts: tooManyAttempts(); break;
    case LoginFlow::Outcome::UserFound: password_->setFocus(); break;
    default:
        ui::Messages::current().warning(this, LoginFlow::userMissingText());
        login_->setFocus();
        break;
    }
}

void TFrmLogin::checkPassword() {
    const QScopedValueRollback<bool> busy(checking_, true);
    switch (flow_.checkPassword(password_->text())) {
    case LoginFlow::Outcome::TooManyAttempts: tooManyAttempts(); break;
    case LoginFlow::Outcome::PasswordAccepted:
        ok_->setEnabled(true);
        change_->setEnabled(true);
        // Enter now closes the dialog, wherever the focus went when the fields were locked.
        ok_->setDefault(true);
        lockFields(true);
        ok_->setFocus();
        break;
    default:
        ui::Messages::current().warning(this, LoginFlow::passwordWrongText());
        password_->setFocus();
        break;
    }
}

void TFrmLogin::lockFields(bool locked) {
    for (QLineEdit* e : {login_, password_}) {
        e->setEnabled(!locked);
        e->setStyleSheet(locked ? QStringLiteral("background: silver;") : QStringLiteral("background: white;"));
    }
}

void TFrmLogin::startChange() {
    changeGroup_->show();
    changeGroup_->setEnabled(true);
    newPassword_->setFocus();
}

void TFrmLogin::checkConfirmation() {
    const QScopedValueRollback<bool> busy(checking_, true);
    auto closeGroup = [this] {
        changeGroup_->setEnabled(false);
        changeGroup_->hide();
        ok_->setFocus();
    };
    const auto outcome = flow_.confirmNewPassword(newPassword_->text(), confirmation_->text());
    switch (outcome) {
    case LoginFlow::Outcome::TooManyAttempts:
        ui::Messages::current().error(this, LoginFlow::tooManyAttemptsText());
        closeGroup();
        break;
    case LoginFlow::Outcome::PasswordChanged:
        closeGroup();
        change_->setEnabled(false);
        break;
    default:
        ui::Messages::current().warning(this, outcome == LoginFlow::Outcome::PasswordTooLong
                                                  ? LoginFlow::passwordTooLongText()
                                                  : LoginFlow::confirmationDiffersText());
        newPassword_->clear();
        confirmation_->clear();
        newPassword_->setFocus();
        break;
    }
}

} // namespace app
