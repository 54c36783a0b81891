#pragma once
// A report that cannot be prepared or written: a missing or bad parameter, a declaration that names a
// value nobody gives, a file that cannot be written. The text is Spanish and meant for the user.

#include <QString>
#include <stdexcept>

namespace report {

class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& text() const { return text_; }

private:
    QString text_;
};

// The user stopped the work from the progress indication; nothing was written.
class Cancelled : public ReportError {
public:
    Cancelled() : ReportError(QStringLiteral("Informe cancelado por el usuario")) {}
};

} // namespace report
