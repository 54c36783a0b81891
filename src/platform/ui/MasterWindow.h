#pragma once
// The maintenance window of one simple master table, built from a MasterWindowDeclaration: heading,
// edit fields bound to the current row, a record navigator, the "Registro" key search box and a grid.
// Windows that need more subclass it and reach the dataset and the field widgets.

#include "platform/ui/MasterWindowDeclaration.h"

#include <QDialog>
#include <vector>

class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTableView;

namespace db {
class Dataset;
class DatasetModel;
class Session;
} // namespace db

namespace ui {

class MasterFieldEditor;

class MasterWindow : public QDialog {
    Q_OBJECT
  public:
    // Navigator buttons, in the order they stand.
    enum class Button { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    static inline const QString kDeleteQuestion = QStringLiteral("¿Borrar el registro?");

    // Opens the table on its first row; a DbError while reading it propagates to the caller.
    MasterWindow(db::Session& session, MasterWindowDeclaration declaration, QWidget* parent = nullptr);
    ~MasterWindow() override;

    const MasterWindowDeclaration& declaration() const { return declaration_; }
    db::Dataset& dataset() const { return *data_; }
    db::DatasetModel& model() const { return *model_; }
    QPushButton* button(Button b) const { return buttons_.at(size_t(b)); }
    QWidget* fieldWidget(const QString& column) const;
    QLineEdit* searchBox() const { return search_; }

    // The navigator's actions, as its buttons run them. Each returns whether it did its work; a
    // failure has been shown to the user.
    bool post();
    void cancel();
    bool remove();
    void startEdit();
    void startInsert();

  protected:
    // After a navigator button: the focus goes to the declared field.
    virtual void focusAfterNavigator();

  private:
    void buildFields(QFormLayout* form);
    void buildNavigator(QHBoxLayout* row);
    void run(Button b);
    void showRow();
    void updateButtons();
    void followInGrid();
    void searchTyped(const QString& text);
    void userEdited();

    MasterWindowDeclaration declaration_;
    db::Dataset* data_ = nullptr;
    db::DatasetModel* model_ = nullptr;
    std::vector<MasterFieldEditor*> editors_;
    std::vector<QPushButton*> buttons_;
    QLineEdit* search_ = nullptr;
    QTableView* grid_ = nullptr;
    bool showing_ = false;
};

} // namespace ui
