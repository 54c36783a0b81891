#pragma once
// The result of a report's data pass: every band that will print, in order, with its values and with
// the totals, counts and running values already worked out. Rendering and the exports only read it,
// so a preview, the printout and the exports of one ReportData show the same thing.

#include "platform/report/ReportDefinition.h"

#include <QDateTime>
#include <QHash>
#include <QVariantMap>
#include <memory>
#include <vector>

namespace db {
class Session;
}

namespace report {

struct BandInstance {
    BandKind kind = BandKind::Detail;
    int group = -1;               // group headers and footers: the group's position in the declaration
    int parent = -1;              // the innermost group header around this band, -1 when none
    std::vector<QVariant> values; // by position in ReportData::names()
};

class ReportData {
public:
    const ReportDefinition& definition() const { return *definition_; }
    const std::shared_ptr<const ReportDefinition>& sharedDefinition() const { return definition_; }
    // The parameters as they were bound, typed.
    const QVariantMap& parameters() const { return parameters_; }
    const QDateTime& printedAt() const { return printedAt_; }
    int detailCount() const { return detailCount_; }
    const std::vector<BandInstance>& bands() const { return bands_; }
    const QStringList& names() const { return names_; }

    // A value as band `band` sees it: its own values, then those of the group headers around it, then
    // the report's: lookups run once, values the hook set at the beginning, the parameters as ":NAME"
    // and the company profile as "REGISTRO.NOMBRE" and "REGISTRO.NIT". Names are case-insensitive.
    // A column of the query is always the band's own, even when NULL. Band -1 sees the report's only.
    QVariant value(int band, const QString& name) const;
    // The text an element prints on band `band` of page `page`.
    QString text(const Element& element, int band, int page) const;

private:
    friend class DataPass;
    friend class HookContext;

    int slot(const QString& name); // position of a name, added when new
    void set(int band, const QString& name, const QVariant& value);

    std::shared_ptr<const ReportDefinition> definition_;
    QVariantMap parameters_;
    QDateTime printedAt_;
    QStringList names_;
    QHash<QString, int> index_; // upper-case name to position
    int columnCount_ = 0;       // the main query's columns come first
    QHash<QString, QVariant> reportValues_;
    std::vector<BandInstance> bands_;
    int detailCount_ = 0;
};

// Read access to the values of one band, for computed labels and the data hook.
class BandValues {
public:
    BandValues(const ReportData& data, int band) : data_(&data), band_(band) {}
    QVariant value(const QString& name) const { return data_->value(band_, name); }
    double number(const QString& name) const { return value(name).toDouble(); }
    QString text(const QString& name) const { return value(name).toString(); }
    int band() const { return band_; }
    const ReportData& data() const { return *data_; }

protected:
    const ReportData* data_;
    int band_;
};

// What the data hook sees: the event, the band being prepared, and the session for the lookups a
// query cannot express. set() gives the band a value (at Begin: the whole report). On a group
// footer the totals are already final, so the hook can correct or complete them.
class HookContext : public BandValues {
public:
    enum class Event { Begin, GroupHeader, Detail, GroupFooter, Summary };

    Event event() const { return event_; }
    int group() const { return group_; } // group headers and footers
    db::Session& session() const { return session_; }
    void set(const QString& name, const QVariant& value) { mutable_->set(band_, name, value); }

private:
    friend class DataPass;
    HookContext(ReportData& data, int band, Event event, int group, db::Session& session)
        : BandValues(data, band), event_(event), group_(group), session_(session), mutable_(&data) {}

    Event event_;
    int group_;
    db::Session& session_;
    ReportData* mutable_;
};

} // namespace report
