#include "master/TextLoad.h"

#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "platform/db/Statement.h"

#include <QFile>
#include <QStringDecoder>
#include <stdexcept>

namespace master {

namespace {

// Characters `from`..`to` of the line, counted from 1; what exists of them, without outer blanks.
QString slice(const QString& line, int from, int to) {
    return line.mid(from - 1, to - from + 1).trimmed();
}

QStringList linesOf(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = QString::fromLatin1(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r'))) l.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

} // namespace

QString TextLoadResult::summary() const {
    return QStringLiteral("%1 cargados, %2 con error").arg(loaded).arg(failed());
}

QString TextLoadResult::report() const {
    if (failures.isEmpty()) return summary();
    return failures.join(QLatin1Char('\n')) + QStringLiteral("\n\n") + summary();
}

TextLoadResult loadTextFile(db::Session& session, TextLoadKind kind, QIODevice& file) {
    const QStringList lines = linesOf(file.readAll());
    TextLoadResult result;
    db::Transaction all(session);
    db::Statement insert(session, kind == TextLoadKind::Groups
                                      ? QStringLiteral("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES (?, ?)")
                                      : QStringLiteral("INSERT INTO SUBGRUPOS (SUBGRUPO, MODELO, NOMBRE) "
                                                       "VALUES (?, ?, ?)"));
    for (int i = 0; i < lines.size(); ++i) {
        const QString& line = lines[i];
        const int number = i + 1;
        if (line.trimmed().isEmpty()) {
            ++result.skipped;
            continue;
        }
        insert.clearBindings();
        if (kind == TextLoadKind::Groups) {
            const QString grupo = slice(line, 11, 12);
            if (grupo.isEmpty()) {
                ++result.skipped;
                continue;
            }
            insert.bind(0, grupo);
            const QString nombre = slice(line, 17, 56);
            insert.bind(1, nombre.isEmpty() ? QVariant() : QVariant(nombre));
        } else {
            insert.bind(0, number);
            const QString modelo = slice(line, 10, 18);
            const QString nombre = slice(line, 19, 57);
            insert.bind(1, modelo.isEmpty() ? QVariant() : QVariant(modelo));
            insert.bind(2, nombre.isEmpty() ? QVariant() : QVariant(nombre));
        }
        // A savepoint per line: a refused line leaves nothing behind and the load goes on.
        db::Transaction one(session);
        try {
            insert.execute();
            one.commit();
            ++result.loaded;
        } catch (const db::DbError& e) {
            result.failures << QStringLiteral("Línea %1: %2 - %3").arg(number).arg(line.trimmed(), e.engineText());
        }
    }
    all.commit();
    return result;
}

TextLoadResult loadTextFile(db::Session& session, TextLoadKind kind, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("No se pudo abrir el archivo %1: %2")
                                     .arg(path, file.errorString())
                                     .toStdString());
    return loadTextFile(session, kind, file);
}

} // namespace master
