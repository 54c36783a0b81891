#pragma once
// The login dialog: identifies the user of the workstation and lets that user change the password.
// Created once, hidden, and shown modally by the main window as often as the user chooses.

#include "app/LoginFlow.h"

#include <QDialog>

class QLineEdit;
class QPushButton;
class QGroupBox;

namespace app {

class TFrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TFrmLogin(db::Session& session, QWidget* parent = nullptr);

    // Accepted only when a password was accepted during this showing.
    bool loginAccepted() const { return flow_.accepted(); }
    const std::optional<UserRow>& user() const { return flow_.user(); }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void resetState();
    void checkUser();
    void checkPassword();
    void checkConfirmation();
    void startChange();
    void tooManyAttempts();
    void lockFields(bool locked);

    LoginFlow flow_;
    bool checking_ = false;
    QLineEdit* login_;
    QLineEdit* password_;
    QPushButton* ok_;
    QPushButton* change_;
    QGroupBox* changeGroup_;
    QLineEdit* newPassword_;
    QLineEdit* confirmation_;
};

} // namespace app
