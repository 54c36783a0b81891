#pragma once
// Every message box of the program goes through this interface: windows call it, the desktop
// implementation shows modal boxes, and tests install a recorder that keeps the texts and answers
// questions from a script instead of blocking.

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

class QWidget;

namespace ui {

class Messages {
public:
    virtual ~Messages() = default;
    virtual void information(QWidget* parent, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& text) = 0;
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;

    // The messages every window uses; the desktop implementation unless a test replaced it.
    static Messages& current();
    // Installs a replacement and returns the previous one (nullptr restores the desktop boxes).
    static std::unique_ptr<Messages> install(std::unique_ptr<Messages> messages);
};

// Shows QMessageBox dialogs with the application's title.
class DesktopMessages : public Messages {
public:
    void information(QWidget* parent, const QString& text) override;
    void warning(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
};

// Keeps every text shown; questions take their answers from `answers` in order (No when empty).
class RecordingMessages : public Messages {
public:
    QStringList shown;
    std::deque<bool> answers;

    void information(QWidget*, const QString& text) override { shown << text; }
    void warning(QWidget*, const QString& text) override { shown << text; }
    void error(QWidget*, const QString& text) override { shown << text; }
    bool confirm(QWidget*, const QString& text) override;
};

// Installs a RecordingMessages for the lifetime of a scope (tests).
class ScopedRecordingMessages {
public:
    ScopedRecordingMessages();
    ~ScopedRecordingMessages();
    RecordingMessages& operator*() { return *recorder_; }
    RecordingMessages* operator->() { return recorder_; }

private:
    RecordingMessages* recorder_;
    std::unique_ptr<Messages> previous_;
};

} // namespace ui
