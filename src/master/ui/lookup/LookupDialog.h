#pragma once
// The modal search dialog a work window opens to pick a row of one table: a search box that moves
// to the nearest row as the user types, a "Selección" group that sets the order of the rows, a grid,
// and OK and Cancel. Each search dialog is a declaration of this one plus how it publishes the chosen
// row into LookupResults.
//
// A caller creates the dialog, calls exec() and, when it returns Accepted, reads LookupResults. OK,
// Enter or a double click choose the current row. Cancel, Esc and the close box change nothing. OK
// on an empty grid publishes the empty result (0 or "") and returns Rejected, as no row was chosen.

#include "platform/db/Params.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableView;

namespace db {
class Dataset;
class DatasetModel;
class Row;
class Session;
} // namespace db

namespace master {

struct LookupDeclaration {
    // A choice under "Selección" and the columns it orders the rows by (the key follows).
    struct Order {
        QString caption{};
        QStringList columns{};
    };
    struct Column {
        QString column{};
        QString caption{}; // empty: the column name
        QString mask{};    // numbers::formatValue's mask; empty: the plain value
    };

    QString className{}; // object name of the dialog
    QString title{};
    QString table{};
    QString searchLabel{};
    std::vector<Order> orders{};
    // Empty: the table's key.
    QStringList openingOrder{};
    // The choice checked when the dialog opens; -1 checks none.
    int preselected = -1;
    std::vector<Column> grid{};
    // Columns the published result needs beside the grid's.
    QStringList resultColumns{};
    // A condition with "?" markers and its bound values; the rows outside it are not offered.
    QString filter{};
    db::Params filterParams{};
};

class LookupDialog : public QDialog {
    Q_OBJECT
  public:
    // Opens the table in its opening order on the first row; a DbError while reading it propagates.
    LookupDialog(db::Session& session, LookupDeclaration declaration, QWidget* parent = nullptr);
    ~LookupDialog() override;

    const LookupDeclaration& declaration() const { return declaration_; }
    db::Dataset& dataset() const { return *data_; }
    db::DatasetModel& model() const { return *model_; }
    QLineEdit* searchBox() const { return search_; }
    QTableView* grid() const { return grid_; }
    QRadioButton* orderButton(int index) const;

    // Publishes the current row and closes: Accepted, or Rejected on an empty grid.
    void choose();

  protected:
    // Sets the results from the chosen row; nullptr when the grid was empty.
    virtual void publish(const db::Row* row) = 0;
    // Values that stand before the typed text when searching in `order`: a dialog whose filter fixes
    // the leading ordering column searches within it.
    virtual QVariantList searchPrefix(const QStringList& order) const;

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void searchTyped(const QString& text);
    void orderChosen(int index);
    void followInGrid();
    void gridMoved(int row);
    // Runs a move of the dataset, telling the user what the database refused.
    template <typename Move> void move(Move&& m);

    LookupDeclaration declaration_;
    db::Dataset* data_ = nullptr;
    db::DatasetModel* model_ = nullptr;
    QLabel* label_ = nullptr;
    QLineEdit* search_ = nullptr;
    QButtonGroup* orders_ = nullptr;
    QTableView* grid_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool following_ = false;
};

} // namespace master
