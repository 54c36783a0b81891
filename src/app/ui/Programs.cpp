// The table of windows by program number.

#include "app/ui/ProgramDispatcher.h"
#include "app/ui/TFrmRegistro.h"

namespace app {

namespace {

template <typename Window> ProgramDispatcher::Opener modal() {
    return [](QWidget* parent) {
        auto* w = new Window(parent);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->exec();
    };
}

} // namespace

const ProgramDispatcher& ProgramDispatcher::standard() {
    static const ProgramDispatcher table = [] {
        ProgramDispatcher d;
        d.add(64, modal<TFrmRegistro>());
        return d;
    }();
    return table;
}

} // namespace app
