#include "movements/EntryTotals.h"

#include "platform/db/Session.h"
#include "platform/db/Statement.h"

#include <QDateTime>

namespace movements {

EntryTotals::EntryTotals(db::Session& session) : s_(session) {}
EntryTotals::~EntryTotals() = default;

db::Statement& EntryTotals::statement() {
    // One range of the key per level: written as an OR the engine would walk every total of the item.
    if (!read_)
        read_ = std::make_unique<db::Statement>(
            s_, QStringLiteral("SELECT SUM(CANTIDAD), SUM(VALOR) FROM ("
                               "SELECT CANTIDAD, VALOR FROM ENTRADASPRODUCTO "
                               " WHERE EMPRESA = ? AND PRODUCTO = ? AND PERIODO = 'A' AND FECHA < ? "
                               "UNION ALL "
                               "SELECT CANTIDAD, VALOR FROM ENTRADASPRODUCTO "
                               " WHERE EMPRESA = ? AND PRODUCTO = ? AND PERIODO = 'M' AND FECHA >= ? AND FECHA < ? "
                               "UNION ALL "
                               "SELECT CANTIDAD, VALOR FROM ENTRADASPRODUCTO "
                               " WHERE EMPRESA = ? AND PRODUCTO = ? AND PERIODO = 'F' AND FECHA >= ? AND FECHA < ?)"));
    return *read_;
}

std::pair<QString, QString> EntryTotals::plan() {
    return {statement().sql(), statement().plan()};
}

Entries EntryTotals::before(const QString& empresa, int producto, const QVariant& fecha) {
    if (fecha.isNull() || !fecha.isValid()) return {};
    const QDateTime when = fecha.toDateTime();
    if (!when.isValid()) return {};
    const QDate day = when.date();
    const QDateTime yearStart(QDate(day.year(), 1, 1), QTime(0, 0));
    const QDateTime monthStart(QDate(day.year(), day.month(), 1), QTime(0, 0));
    db::Statement& read = statement();
    read.bind({empresa, producto, yearStart, empresa, producto, yearStart, monthStart, empresa, producto,
                 monthStart, when});
    read.execute();
    Entries e;
    if (read.next()) {
        const db::Row row = read.row();
        e = {row.at(0).toDouble(), row.at(1).toDouble()};
    }
    read.close();
    // Every total holds entries above 0, so a sum this small is what adding and taking out the same
    // doubles leaves behind, not stock.
    if (!(e.quantity > 1e-9)) return {};
    return e;
}

} // namespace movements
