#pragma once
// The main window: menu bar, the module menu built from PROGRAMAS and filtered by the current
// user's permissions, and the program dispatcher behind it. Closing it ends the program.

#include "app/MenuTree.h"

#include <QMainWindow>

class QAction;
class QLabel;
class QPlainTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace app {

class ProgramDispatcher;
class TDMGeneral;
class TFrmLogin;

class TFrmAlmacen : public QMainWindow {
    Q_OBJECT
public:
    TFrmAlmacen(TDMGeneral& dm, const ProgramDispatcher& dispatcher, QWidget* parent = nullptr);

    TFrmLogin* loginDialog() const { return login_; }
    QTreeWidget* moduleMenu() const { return tree_; }
    // Runs the "&Entrar" command: shows the login and, when it succeeds, the user's module menu.
    void enter();
    // Runs the program of a module-menu node as a click on it does.
    void runNode(QTreeWidgetItem* item);

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void activate();
    void buildMenu();
    void fillTree(QTreeWidget* tree, const std::vector<MenuNode>& nodes, QTreeWidgetItem* parent);
    void showNote(QTreeWidgetItem* item);

    TDMGeneral& dm_;
    const ProgramDispatcher& dispatcher_;
    TFrmLogin* login_;
    QAction* enter_;
    QAction* security_;
    QAction* menuOptions_;
    QLabel* welcome_;
    QWidget* panel_;
    QTreeWidget* tree_;
    QTreeWidget* fullTree_; // never filtered; the users window copies its nodes
    QPlainTextEdit* note_;
    QLabel* status_;
    QLabel* logo_;
    std::vector<ProgramRow> programs_;
};

} // namespace app
