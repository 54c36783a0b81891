#include "platform/db/SqlScript.h"

#include <QRegularExpression>

namespace db {

QStringList splitSqlScript(const QString& script) {
    QStringList out;
    QString term = QStringLiteral(";");
    QString current;
    const int n = int(script.size());
    static const QRegularExpression setTerm(QStringLiteral("^\\s*SET\\s+TERM\\s+(\\S+)\\s*$"),
                                            QRegularExpression::CaseInsensitiveOption);
    auto flush = [&]() {
        const QString stmt = current.trimmed();
        current.clear();
        if (stmt.isEmpty()) return;
        const auto m = setTerm.match(stmt);
        if (m.hasMatch()) {
            term = m.captured(1);
            return;
        }
        out << stmt;
    };
    for (int i = 0; i < n;) {
        const QChar c = script[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n && !(script[j] == c && !(j + 1 < n && script[j + 1] == c))) j += (script[j] == c) ? 2 : 1;
            current += script.mid(i, j - i + 1);
            i = j + 1;
        } else if (script.mid(i, 2) == QLatin1String("--")) {
            int j = int(script.indexOf(QLatin1Char('\n'), i));
            i = j < 0 ? n : j;
        } else if (script.mid(i, 2) == QLatin1String("/*")) {
            int j = int(script.indexOf(QLatin1String("*/"), i + 2));
            i = j < 0 ? n : j + 2;
        } else if (script.mid(i, term.size()) == term) {
            flush();
            i += int(term.size());
        } else {
            current += c;
            ++i;
        }
    }
    flush();
    return out;
}

} // namespace db
