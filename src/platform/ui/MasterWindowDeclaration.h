#pragma once
// What a simple maintenance window shows: its table and key, captions, the edit fields with their
// kinds, the grid columns and how the "Registro" box searches. MasterWindow builds itself from it.

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>
#include <vector>

namespace db {
class Row;
class Session;
} // namespace db

namespace ui {

struct MasterWindowDeclaration {
    // A coded choice: the caption the user picks and the code stored in the column.
    struct Choice {
        QString caption{};
        QString code{};
    };

    struct Field {
        enum class Kind {
            Text,   // one line, up to maxLength characters
            Number, // shown with `mask` (numbers::formatMask), typed with the fixed separators
            Date,   // "dd/mm/yyyy"
            Memo,   // several lines
            Tick,   // a tick box storing "S" when ticked and "N" when not
            Choice, // a list of `choices` (or of `choicesSql`'s rows), storing the chosen code
            Picture, // a picture blob; double-clicking it loads a picture file into the row
        };
        QString column{};
        QString label{};
        Kind kind = Kind::Text;
        // Text fields: 0 takes the column's length.
        int maxLength = 0;
        QString mask{};
        std::vector<Choice> choices{};
        // Choice fields whose list comes from a table: the first column is stored, the second shown
        // ("SELECT UNIDAD, NOMBRE FROM UNIDADES ORDER BY NOMBRE"). Read when the window opens.
        QString choicesSql{};
        // The tab the field stands on; a window whose fields name no page shows one plain form.
        QString page{};
    };

    struct GridColumn {
        QString column{};
        QString caption{};
        QString mask{}; // numbers::formatValue mask; empty shows the plain value
    };

    enum class Search {
        Exact,   // positions on the row whose search column equals the text; otherwise stays
        Nearest, // positions on the first row whose search column is equal to or greater
    };

    QString table{};
    // Empty: the table's primary key.
    QStringList key{};
    // Rows the window shows: a condition with "?" markers bound from `filterValues` (never typed text).
    QString filter{};
    QVariantList filterValues{};
    QString caption{}; // window title
    QString heading{}; // large title above the fields; empty shows none
    std::vector<Field> fields{};
    std::vector<GridColumn> grid{};
    // Empty: the first key column. A nearest search orders the table by this column.
    QString searchColumn{};
    Search search = Search::Exact;
    QString searchHint{};
    // Where the focus goes after any navigator button. Empty: the first field.
    QString focusColumn{};

    // The "Imprimir" group: the registered list report, printed over the range typed in the two
    // fields (parameters DESDE and HASTA) in the order chosen under "Orden" (parameter ORDEN, one of
    // `orders`' codes, or of the report's orderings when `orders` is empty; the first is chosen when
    // the window opens). No report: no group.
    QString report{};
    QString rangeFrom{};
    QString rangeTo{};
    std::vector<Choice> orders{};

    // Asked before a row is deleted: a Spanish text refuses the delete (the row is still in use),
    // an empty text lets it go.
    std::function<QString(db::Session&, const db::Row&)> deleteCheck{};
    // A load from a text file offered by a button beside the navigator: it loads the chosen file and
    // returns what to tell the user. Empty: no button.
    std::function<QString(db::Session&, const QString& path)> textLoad{};
};

} // namespace ui
