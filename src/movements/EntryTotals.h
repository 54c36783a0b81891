#pragma once
// The quantity and value of every entry (a line with CANTIDAD above 0) of an item in a company dated
// before a date: the figure the unit cost of a line is worked from. It reads ENTRADASPRODUCTO, the
// year, month and date totals the database keeps of the entry lines, so it costs a few dozen rows however
// long the history; MOVIMIENTOGENERALBODEGA summed over the same conditions gives the same figures.

#include <QString>
#include <QVariant>
#include <memory>
#include <utility>

namespace db {
class Session;
class Statement;
} // namespace db

namespace movements {

struct Entries {
    double quantity = 0;
    double value = 0;
};

class EntryTotals {
public:
    explicit EntryTotals(db::Session& session);
    ~EntryTotals();

    // A date that is NULL or not a date has no earlier entries, as in the view.
    Entries before(const QString& empresa, int producto, const QVariant& fecha);

    // The statement and the engine's plan for it, for the plan checks.
    std::pair<QString, QString> plan();

private:
    db::Statement& statement();

    db::Session& s_;
    std::unique_ptr<db::Statement> read_;
};

} // namespace movements
