#include "platform/ui/AppExit.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdlib>

namespace ui {

namespace {
void quitApplication(int code) {
    // Inside event loops (a modal dialog over the main window) exit() ends every loop of the GUI
    // thread, so main() returns normally; before the first loop runs there is nothing to leave.
    if (QCoreApplication::instance() && QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(code);
    else
        std::exit(code);
}
std::function<void(int)>& handler() {
    static std::function<void(int)> h = quitApplication;
    return h;
}
} // namespace

void AppExit::request(int code) { handler()(code); }

std::function<void(int)> AppExit::setHandler(std::function<void(int)> h) {
    auto previous = handler();
    handler() = h ? std::move(h) : std::function<void(int)>(quitApplication);
    return previous;
}

} // namespace ui
