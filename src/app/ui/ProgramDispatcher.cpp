#include "app/ui/ProgramDispatcher.h"

#include "platform/ui/Messages.h"

namespace app {

ProgramDispatcher::Result ProgramDispatcher::run(const QString& programText, QWidget* parent) const {
    bool ok = false;
    const int number = programText.trimmed().toInt(&ok);
    if (!ok) {
        ui::Messages::current().error(parent, QStringLiteral("'%1' no es un número de programa válido").arg(programText));
        return Result::NotANumber;
    }
    const auto it = openers_.find(number);
    if (it == openers_.end()) return Result::Unknown;
    it->second(parent);
    return Result::Opened;
}

} // namespace app
