#pragma once
// The maintenance windows of the simple master tables. Each is a declaration of the shared master
// window (fields, grid, key search, list report) plus what only it does.

#include "platform/ui/MasterWindow.h"

class QLineEdit;
class QStandardItemModel;
class QTableView;

namespace master {

// Program 1: companies, with the logo loaded by double-clicking it.
class TFrmALM005 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM005(db::Session& session, QWidget* parent = nullptr);
};

// Program 2: item groups, with the load from a text file.
class TFrmALM001 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM001(db::Session& session, QWidget* parent = nullptr);
};

// Program 3: sub-groups, with their text load and "Pasa Cuenta", which gives every item of a group
// and sub-group the inventory account typed beside the "Asignar Cuenta" grid.
class TFrmALM002 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM002(db::Session& session, QWidget* parent = nullptr);

    QTableView* accountGrid() const { return accounts_; }
    QLineEdit* accountBox() const { return account_; }
    // "Pasa Cuenta" on the row the "Asignar Cuenta" grid stands on.
    bool passAccount();
    void reloadAccounts();

  private:
    QTableView* accounts_ = nullptr;
    QStandardItemModel* accountRows_ = nullptr;
    QLineEdit* account_ = nullptr;
};

// Program 4: units.
class TFrmALM003 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM003(db::Session& session, QWidget* parent = nullptr);
};

// Program 5: unit conversions; the key search goes to the nearest unit code.
class TFrmALM010 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM010(db::Session& session, QWidget* parent = nullptr);
};

// Program 6: cost centres.
class TFrmALM004 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM004(db::Session& session, QWidget* parent = nullptr);
};

// Program 7: warehouses.
class TFrmALM006 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM006(db::Session& session, QWidget* parent = nullptr);
};

// Program 9: document types, on four pages; the posting account is copied into its three copies.
class TFrmALM008 : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmALM008(db::Session& session, QWidget* parent = nullptr);

  protected:
    void beforePost() override;
};

// Program 11: pairs of an inventory account and an expense account.
class TFrmCuenta : public ui::MasterWindow {
    Q_OBJECT
  public:
    explicit TFrmCuenta(db::Session& session, QWidget* parent = nullptr);
};

// Every declaration by window class name, for tests and tools that walk them all.
std::vector<std::pair<QString, ui::MasterWindowDeclaration>> masterDeclarations();

} // namespace master
