#pragma once
// What a simple maintenance window shows: its table and key, captions, the edit fields with their
// kinds, the grid columns and how the "Registro" box searches. MasterWindow builds itself from it.

#include <QString>
#include <QStringList>
#include <vector>

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
            Choice, // a list of `choices`, storing the chosen code
        };
        QString column{};
        QString label{};
        Kind kind = Kind::Text;
        // Text fields: 0 takes the column's length.
        int maxLength = 0;
        QString mask{};
        std::vector<Choice> choices{};
    };

    struct GridColumn {
        QString column{};
        QString caption{};
    };

    enum class Search {
        Exact,   // positions on the row whose search column equals the text; otherwise stays
        Nearest, // positions on the first row whose search column is equal to or greater
    };

    QString table{};
    // Empty: the table's primary key.
    QStringList key{};
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
};

} // namespace ui
