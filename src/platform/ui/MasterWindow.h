#pragma once
// The maintenance window of one simple master table, built from a MasterWindowDeclaration: heading,
// edit fields bound to the current row, a record navigator, the "Registro" key search box and a grid.
// Windows that need more subclass it and reach the dataset and the field widgets.

#include "platform/ui/MasterWindowDeclaration.h"

#include <QDialog>
#include <vector>

class QButtonGroup;
class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QVBoxLayout;

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
    QTableView* grid() const { return grid_; }
    db::Session& session() const { return session_; }
    // The "Imprimir" group's range fields (nullptr without a report).
    QLineEdit* rangeFromBox() const { return from_; }
    QLineEdit* rangeToBox() const { return to_; }
    // The code of the order chosen under "Orden".
    QString chosenOrder() const;
    void chooseOrder(const QString& code);

    // The navigator's actions, as its buttons run them. Each returns whether it did its work; a
    // failure has been shown to the user.
    bool post();
    void cancel();
    bool remove();
    void startEdit();
    void startInsert();
    // "&Imprimir": the list report over the typed range in the chosen order, in a preview. False,
    // after telling the user why, when the range is not valid or the report fails.
    bool printList();
    // Loads a picture file into a picture column of the current row and posts it.
    bool loadPicture(const QString& column, const QString& fileName);
    // The text-load button: loads the file and shows what the load says.
    void loadTextFile(const QString& fileName);

  protected:
    // After a navigator button: the focus goes to the declared field.
    virtual void focusAfterNavigator();
    // The navigator's insert: a new row in insert state for the user to fill. A window whose rows
    // are created whole (a numbered document) overrides it.
    virtual void insertRow() { startInsert(); }
    // Called by post() after the typed values are in the row and before it is written; a window
    // sets the columns that follow from others here.
    virtual void beforePost() {}
    // Whether the user changed the field of `column` since the row was shown.
    bool fieldChanged(const QString& column) const;
    // Where a subclass adds its own widgets (under the grid).
    QVBoxLayout* mainLayout() const { return layout_; }
    // Puts `extra` on the same row as the field of `column`, to its right (a name beside a code).
    void addBeside(const QString& column, QWidget* extra);
    // Moves the focus to a field, showing its page first.
    void focusField(const QString& column);

  private:
    void buildFields();
    void buildNavigator(QHBoxLayout* row);
    void buildPrintGroup();
    void run(Button b);
    void showRow();
    void updateButtons();
    void followInGrid();
    void searchTyped(const QString& text);
    void userEdited();

    db::Session& session_;
    MasterWindowDeclaration declaration_;
    QVBoxLayout* layout_ = nullptr;
    QTabWidget* pages_ = nullptr;
    std::vector<QFormLayout*> forms_;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QButtonGroup* orders_ = nullptr;
    db::Dataset* data_ = nullptr;
    db::DatasetModel* model_ = nullptr;
    std::vector<MasterFieldEditor*> editors_;
    std::vector<QPushButton*> buttons_;
    QLineEdit* search_ = nullptr;
    QTableView* grid_ = nullptr;
    bool showing_ = false;
};

} // namespace ui
