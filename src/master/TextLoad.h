#pragma once
// Loads of groups and sub-groups from fixed-width text files, as other systems export them.
//
// Groups: GRUPO is characters 11-12 and NOMBRE characters 17-56 of each line (counted from 1).
// Sub-groups: SUBGRUPO is the line's number in the file (from 1), MODELO characters 10-18 and NOMBRE
// characters 19-57. A line shorter than a field gives it only the characters it has.
//
// Blank lines and lines with a blank key are skipped. Every other line is inserted on its own inside
// one transaction: a line the database refuses (a key that exists, a value too long) is left out and
// reported with the engine's text, the others are kept, and the summary says how many of each.

#include <QString>
#include <QStringList>

class QIODevice;

namespace db {
class Session;
}

namespace master {

struct TextLoadResult {
    int loaded = 0;
    int skipped = 0;       // blank lines and lines with a blank key
    QStringList failures;  // "Línea N: <the line> - <why>", one per refused line

    int failed() const { return int(failures.size()); }
    // "n cargados, m con error"
    QString summary() const;
    // The failed lines, then the summary: what the window shows at the end of a load.
    QString report() const;
};

enum class TextLoadKind { Groups, Subgroups };

// Reads the whole device (UTF-8, or Latin-1 when it is not valid UTF-8). Throws db::DbError only when
// the transaction itself cannot start or commit; refused lines are reported in the result.
TextLoadResult loadTextFile(db::Session& session, TextLoadKind kind, QIODevice& file);
// Same, by file name; a file that cannot be opened throws std::runtime_error with a Spanish text.
TextLoadResult loadTextFile(db::Session& session, TextLoadKind kind, const QString& path);

} // namespace master
