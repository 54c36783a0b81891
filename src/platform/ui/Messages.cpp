#include "platform/ui/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace ui {

namespace {
std::unique_ptr<Messages>& slot() {
    static std::unique_ptr<Messages> instance = std::make_unique<DesktopMessages>();
    return instance;
}
QString title() { return QApplication::applicationDisplayName(); }
} // namespace

Messages& Messages::current() { return *slot(); }

std::unique_ptr<Messages> Messages::install(std::unique_ptr<Messages> messages) {
    auto previous = std::move(slot());
    slot() = messages ? std::move(messages) : std::make_unique<DesktopMessages>();
    return previous;
}

void DesktopMessages::information(QWidget* parent, const QString& text) {
    QMessageBox::information(parent, title(), text);
}
void DesktopMessages::warning(QWidget* parent, const QString& text) { QMessageBox::warning(parent, title(), text); }
void DesktopMessages::error(QWidget* parent, const QString& text) { QMessageBox::critical(parent, title(), text); }
bool DesktopMessages::confirm(QWidget* parent, const QString& text) {
    return QMessageBox::question(parent, title(), text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

bool RecordingMessages::confirm(QWidget*, const QString& text) {
    shown << text;
    if (answers.empty()) return false;
    const bool a = answers.front();
    answers.pop_front();
    return a;
}

ScopedRecordingMessages::ScopedRecordingMessages() {
    auto rec = std::make_unique<RecordingMessages>();
    recorder_ = rec.get();
    previous_ = Messages::install(std::move(rec));
}

ScopedRecordingMessages::~ScopedRecordingMessages() { Messages::install(std::move(previous_)); }

} // namespace ui
