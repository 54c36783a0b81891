// The table of windows by program number.

#include "app/TDMGeneral.h"
#include "app/ui/ProgramDispatcher.h"
#include "app/ui/TFrmRegistro.h"
#include "master/ui/MasterWindows.h"
#include "master/ui/lookup/TFrmBuscarProducto.h"
#include "master/ui/lookup/TFrmBuscarProveedor.h"
#include "movements/ui/TFrmMovimiento.h"
#include "platform/db/DbError.h"
#include "platform/ui/Messages.h"

namespace app {

namespace {

template <typename Window> ProgramDispatcher::Opener modal() {
    return [](QWidget* parent) {
        auto* w = new Window(parent);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->exec();
    };
}

// Windows of the inventory database: they open their tables when made, and a database that refuses
// (a lock, a lost connection) is told to the user instead of ending the program.
template <typename Window> ProgramDispatcher::Opener onAlmacen() {
    return [](QWidget* parent) {
        Window* w = nullptr;
        try {
            w = new Window(TDMGeneral::instance()->DbAlmacen(), parent);
        } catch (const db::DbError& e) {
            ui::Messages::current().error(parent, e.engineText());
            return;
        }
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->exec();
    };
}

// The movement documents: which types the chooser offers depends on who is logged in.
ProgramDispatcher::Opener movements() {
    return [](QWidget* parent) {
        auto* dm = TDMGeneral::instance();
        const auto& user = dm->currentUser();
        try {
            movements::TFrmMovimiento chooser(dm->DbAlmacen(), user ? user->nombre : QString(),
                                              user ? user->activo : QString(), parent);
            chooser.exec();
        } catch (const db::DbError& e) {
            ui::Messages::current().error(parent, e.engineText());
        }
    };
}

} // namespace

const ProgramDispatcher& ProgramDispatcher::standard() {
    static const ProgramDispatcher table = [] {
        ProgramDispatcher d;
        d.add(1, onAlmacen<master::TFrmALM005>());
        d.add(2, onAlmacen<master::TFrmALM001>());
        d.add(3, onAlmacen<master::TFrmALM002>());
        d.add(4, onAlmacen<master::TFrmALM003>());
        d.add(5, onAlmacen<master::TFrmALM010>());
        d.add(6, onAlmacen<master::TFrmALM004>());
        d.add(7, onAlmacen<master::TFrmALM006>());
        d.add(9, onAlmacen<master::TFrmALM008>());
        d.add(11, onAlmacen<master::TFrmCuenta>());
        d.add(53, movements());
        // The supplier and item searches also open from the menu, as plain browsers.
        d.add(61, onAlmacen<master::TFrmBuscarProveedor>());
        d.add(62, onAlmacen<master::TFrmBuscarProducto>());
        d.add(64, modal<TFrmRegistro>());
        return d;
    }();
    return table;
}

} // namespace app
