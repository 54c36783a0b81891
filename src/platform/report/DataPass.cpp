#include "platform/report/DataPass.h"

#include "platform/db/Session.h"
#include "platform/db/Statement.h"
#include "platform/report/ReportError.h"

#include <QSet>

namespace report {

namespace {

struct TotalState {
    const Total* total = nullptr;
    int level = -1; // group it restarts with, -1 for the whole report
    double sum = 0;
    qint64 count = 0;

    QVariant current() const { return total->kind == Total::Kind::Count ? QVariant(count) : QVariant(sum); }
};

} // namespace

class DataPass::Pass {
public:
    Pass(std::shared_ptr<const ReportDefinition> definition, db::Session& session,
         const DataPass::Options& options)
        : def_(*definition), session_(session), options_(options), data_(std::make_shared<ReportData>()) {
        data_->definition_ = std::move(definition);
        data_->printedAt_ = options.printedAt.isValid() ? options.printedAt : QDateTime::currentDateTime();
    }

    std::shared_ptr<const ReportData> run() {
        bindParameters();
        readCompanyProfile();
        hook(-1, HookContext::Event::Begin, -1);
        for (const Lookup& l : def_.lookups)
            if (l.group.isEmpty()) runLookup(l, -1);

        db::Statement main(session_, DataPass::mainQuery(def_, data_->parameters_));
        bind(main, -1, QStringLiteral("la consulta principal"));
        data_->names_ = main.columnNames();
        data_->columnCount_ = int(data_->names_.size());
        for (int i = 0; i < data_->columnCount_; ++i)
            data_->index_.insert(data_->names_[i].toUpper(), i);
        prepareGroups();
        prepareTotals();

        push(BandKind::Title, -1, -1, {});
        main.execute();
        bool first = true;
        qint64 rows = 0;
        while (main.next()) {
            std::vector<QVariant> row = main.row().values();
            int breakLevel = first ? 0 : levels();
            for (int g = 0; !first && g < levels(); ++g) {
                if (keyOf(g, row) != keys_[size_t(g)]) {
                    breakLevel = g;
                    break;
                }
            }
            if (!first)
                for (int g = levels() - 1; g >= breakLevel; --g)
                    closeGroup(g);
            for (int g = breakLevel; g < levels(); ++g)
                openGroup(g, row);
            addDetail(std::move(row));
            first = false;
            if (++rows % 1000 == 0) report(rows);
        }
        if (!first)
            for (int g = levels() - 1; g >= 0; --g)
                closeGroup(g);
        report(rows);

        const int summary = push(BandKind::Summary, -1, -1, {});
        for (const TotalState& t : totals_)
            data_->set(summary, t.total->name, t.current());
        for (const TotalState& t : totals_)
            if (t.level < 0) data_->set(0, t.total->name, t.current());
        hook(summary, HookContext::Event::Summary, -1);
        return data_;
    }

private:
    int levels() const { return int(def_.groups.size()); }

    void bindParameters() {
        data_->parameters_ = DataPass::checkParameters(def_, options_.parameters);
        for (auto it = data_->parameters_.constBegin(); it != data_->parameters_.constEnd(); ++it)
            data_->reportValues_.insert(QLatin1Char(':') + it.key().toUpper(), it.value());
    }

    void readCompanyProfile() {
        const auto profile =
            session_.first(QStringLiteral("SELECT FIRST 1 NOMBRE, NIT FROM REGISTRO ORDER BY NIT"));
        data_->reportValues_.insert(QStringLiteral("REGISTRO.NOMBRE"), profile ? profile->at(0) : QVariant());
        data_->reportValues_.insert(QStringLiteral("REGISTRO.NIT"), profile ? profile->at(1) : QVariant());
    }

    // Binds a statement's ":NAME" markers from the band's values, then from the parameters.
    void bind(db::Statement& st, int band, const QString& what) {
        const QStringList names = st.parameterNames();
        for (const QString& name : QSet<QString>(names.begin(), names.end())) {
            QVariant v;
            bool found = false;
            if (band >= 0 && data_->index_.contains(name.toUpper())) {
                v = data_->value(band, name);
                found = true;
            } else if (data_->reportValues_.contains(QLatin1Char(':') + name.toUpper())) {
                v = data_->reportValues_.value(QLatin1Char(':') + name.toUpper());
                found = true;
            }
            if (!found)
                throw ReportError(
                    QStringLiteral("El informe %1 usa :%2 en %3, pero no tiene ese parámetro ni ese valor")
                        .arg(def_.name, name, what));
            st.bind(name, v);
        }
    }

    void runLookup(const Lookup& lookup, int band) {
        db::Statement st(session_, lookup.sql);
        bind(st, band, QStringLiteral("una consulta auxiliar"));
        st.execute();
        const QStringList columns = st.columnNames();
        const bool found = st.next();
        for (int c = 0; c < columns.size(); ++c)
            data_->set(band, columns[c], found ? st.value(c) : QVariant());
        st.close();
    }

    void prepareGroups() {
        for (const Group& g : def_.groups) {
            std::vector<int> columns;
            for (const QString& c : g.columns) {
                const int i = data_->index_.value(c.toUpper(), -1);
                if (i < 0)
                    throw ReportError(
                        QStringLiteral("El grupo %1 del informe %2 rompe por %3, que la consulta no da")
                            .arg(g.name, def_.name, c));
                columns.push_back(i);
            }
            groupColumns_.push_back(std::move(columns));
        }
        keys_.resize(def_.groups.size());
        openHeaders_.assign(def_.groups.size(), -1);
    }

    void prepareTotals() {
        for (const Total& t : def_.totals) {
            TotalState s;
            s.total = &t;
            if (!t.group.isEmpty()) {
                for (int g = 0; g < levels(); ++g)
                    if (def_.groups[size_t(g)].name == t.group) s.level = g;
                if (s.level < 0)
                    throw ReportError(
                        QStringLiteral(
                            "El total %1 del informe %2 se reinicia con el grupo %3, que no existe")
                            .arg(t.name, def_.name, t.group));
            }
            data_->slot(t.name);
            totals_.push_back(s);
        }
    }

    std::vector<QVariant> keyOf(int g, const std::vector<QVariant>& row) const {
        std::vector<QVariant> key;
        for (const int c : groupColumns_[size_t(g)])
            key.push_back(row[size_t(c)]);
        return key;
    }

    int push(BandKind kind, int group, int parent, std::vector<QVariant> values) {
        BandInstance b;
        b.kind = kind;
        b.group = group;
        b.parent = parent;
        b.values = std::move(values);
        data_->bands_.push_back(std::move(b));
        return int(data_->bands_.size()) - 1;
    }

    int innermostHeader(int below) const {
        for (int g = below - 1; g >= 0; --g)
            if (openHeaders_[size_t(g)] >= 0) return openHeaders_[size_t(g)];
        return -1;
    }

    void openGroup(int g, const std::vector<QVariant>& row) {
        keys_[size_t(g)] = keyOf(g, row);
        for (TotalState& t : totals_)
            if (t.level == g) t.sum = 0, t.count = 0;
        const int band = push(BandKind::GroupHeader, g, innermostHeader(g), row);
        openHeaders_[size_t(g)] = band;
        for (const TotalState& t : totals_)
            if (t.level != g) data_->set(band, t.total->name, t.current());
        for (const Lookup& l : def_.lookups)
            if (l.group == def_.groups[size_t(g)].name) runLookup(l, band);
        hook(band, HookContext::Event::GroupHeader, g);
    }

    void addDetail(std::vector<QVariant> row) {
        const int band = push(BandKind::Detail, -1, innermostHeader(levels()), std::move(row));
        hook(band, HookContext::Event::Detail, -1);
        for (TotalState& t : totals_) {
            const QVariant v = t.total->column.isEmpty() ? QVariant() : data_->value(band, t.total->column);
            if (t.total->kind == Total::Kind::Count) {
                if (t.total->column.isEmpty() || v.isValid()) ++t.count;
                continue;
            }
            if (v.isValid()) t.sum += v.toDouble();
            if (t.total->kind == Total::Kind::Running) data_->set(band, t.total->name, t.sum);
        }
        ++data_->detailCount_;
        lastDetail_ = band;
    }

    void closeGroup(int g) {
        const int header = openHeaders_[size_t(g)];
        const int band = push(BandKind::GroupFooter, g, header, data_->bands_[size_t(lastDetail_)].values);
        for (const TotalState& t : totals_) {
            data_->set(band, t.total->name, t.current());
            if (t.level == g) data_->set(header, t.total->name, t.current());
        }
        hook(band, HookContext::Event::GroupFooter, g);
        openHeaders_[size_t(g)] = -1;
    }

    void hook(int band, HookContext::Event event, int group) {
        if (!def_.hook) return;
        HookContext context(*data_, band, event, group, session_);
        def_.hook(context);
    }

    void report(qint64 rows) {
        if (options_.progress && !options_.progress({Progress::Stage::Reading, rows, -1})) throw Cancelled();
    }

    const ReportDefinition& def_;
    db::Session& session_;
    const DataPass::Options& options_;
    std::shared_ptr<ReportData> data_;
    std::vector<std::vector<int>> groupColumns_;
    std::vector<std::vector<QVariant>> keys_;
    std::vector<int> openHeaders_;
    std::vector<TotalState> totals_;
    int lastDetail_ = -1;
};

QVariantMap DataPass::checkParameters(const ReportDefinition& def, const QVariantMap& given) {
    for (auto it = given.constBegin(); it != given.constEnd(); ++it)
        if (!def.parameter(it.key()))
            throw ReportError(
                QStringLiteral("El informe %1 no tiene el parámetro %2").arg(def.name, it.key()));
    QVariantMap out;
    for (const Parameter& p : def.parameters) {
        QVariant v;
        for (auto it = given.constBegin(); it != given.constEnd(); ++it)
            if (it.key().compare(p.name, Qt::CaseInsensitive) == 0) v = it.value();
        if (v.typeId() == QMetaType::QString && p.type != Parameter::Type::Text) {
            QString error;
            v = p.parse(v.toString(), &error);
            if (!error.isEmpty()) throw ReportError(error);
        }
        if (!v.isValid()) v = p.defaultValue;
        if (!v.isValid()) {
            const QString about =
                p.description.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(p.description);
            throw ReportError(QStringLiteral("Falta el parámetro %1%2").arg(p.name, about));
        }
        out.insert(p.name, v);
    }
    if (!def.orderParameter.isEmpty()) {
        if (!def.parameter(def.orderParameter))
            throw ReportError(QStringLiteral("El informe %1 elige su orden con el parámetro %2, que no tiene")
                                  .arg(def.name, def.orderParameter));
        const QString code = out.value(def.parameter(def.orderParameter)->name).toString();
        if (!def.ordering(code)) {
            QStringList choices;
            for (const Ordering& o : def.orderings)
                choices << QStringLiteral("%1 (%2)").arg(o.code, o.caption);
            throw ReportError(QStringLiteral("El informe %1 no tiene el orden \"%2\"; los órdenes son: %3")
                                  .arg(def.name, code, choices.join(QStringLiteral(", "))));
        }
    }
    return out;
}

QString DataPass::mainQuery(const ReportDefinition& def, const QVariantMap& parameters) {
    if (def.orderParameter.isEmpty()) return def.sql;
    const Parameter* p = def.parameter(def.orderParameter);
    const Ordering* o = p ? def.ordering(parameters.value(p->name).toString()) : nullptr;
    if (!o) throw ReportError(QStringLiteral("El informe %1 no tiene ese orden").arg(def.name));
    return def.sql + QStringLiteral(" ORDER BY ") + o->orderBy;
}

std::shared_ptr<const ReportData> DataPass::run(std::shared_ptr<const ReportDefinition> definition,
                                                db::Session& session, const Options& options) {
    Pass pass(std::move(definition), session, options);
    return pass.run();
}

} // namespace report
