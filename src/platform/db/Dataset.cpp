#include "platform/db/Dataset.h"

#include "platform/db/DbError.h"
#include "platform/db/Statement.h"

#include <algorithm>
#include <stdexcept>

namespace db {

namespace {

QString quoted(const QString& identifier) {
    QString s = identifier;
    s.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

QString quotedList(const QStringList& names, const QString& separator = QStringLiteral(", ")) {
    QStringList out;
    for (const QString& n : names)
        out << quoted(n);
    return out.join(separator);
}

// The type rows carry for a column, so that searches and cleared fields can be brought to it before
// they reach the engine. The codes are RDB$FIELD_TYPE's: 7 SMALLINT, 8 INTEGER, 16 BIGINT, 10 FLOAT,
// 27 DOUBLE, 12 DATE, 13 TIME, 35 TIMESTAMP, 14 CHAR, 37 VARCHAR, 261 BLOB, 23 BOOLEAN; character
// set 1 is OCTETS. Scaled integers (NUMERIC, DECIMAL) come back as doubles.
QMetaType::Type valueType(int fieldType, int subType, int scale, int charsetId) {
    switch (fieldType) {
    case 7:
    case 8:
        return scale < 0 ? QMetaType::Double : QMetaType::Int;
    case 16:
        return scale < 0 ? QMetaType::Double : QMetaType::LongLong;
    case 10:
    case 27:
        return QMetaType::Double;
    case 12:
        return QMetaType::QDate;
    case 13:
        return QMetaType::QTime;
    case 35:
        return QMetaType::QDateTime;
    case 14:
    case 37:
        return charsetId == 1 ? QMetaType::QByteArray : QMetaType::QString;
    case 261:
        return subType == 1 ? QMetaType::QString : QMetaType::QByteArray;
    case 23:
        return QMetaType::Bool;
    default:
        return QMetaType::UnknownType;
    }
}

bool isNumeric(QMetaType::Type t) {
    return t == QMetaType::Int || t == QMetaType::LongLong || t == QMetaType::Double;
}

bool isNull(const QVariant& v) {
    return !v.isValid() || v.isNull();
}

// Conditions joined with AND, with their bound values in marker order.
struct Where {
    QStringList parts;
    QVariantList binds;

    void add(const QString& condition, const QVariantList& values = {}) {
        parts << QLatin1Char('(') + condition + QLatin1Char(')');
        binds += values;
    }
    QString sql() const {
        return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(" AND ");
    }
};

} // namespace

struct Dataset::Impl {
    QString table; // empty for a query
    QString source;
    std::vector<DatasetColumn> all;
    std::vector<DatasetColumn> columns; // what is read: declared, then any key or ordering column missing
    QStringList declared;
    std::shared_ptr<const QStringList> names;
    QStringList key;
    QStringList order;
    QString filterSql;
    QVariantList filterBinds;
    QPointer<Dataset> master;
    bool linked = false;
    QStringList linkColumns;
    QStringList masterColumns;
    QVariantList linkValues;

    const DatasetColumn* find(const QString& name) const {
        for (const DatasetColumn& c : all)
            if (c.name.compare(name, Qt::CaseInsensitive) == 0) return &c;
        return nullptr;
    }

    const DatasetColumn& resolve(const QString& name) const {
        if (const DatasetColumn* c = find(name)) return *c;
        throw std::invalid_argument(QStringLiteral("%1 has no column %2")
                                        .arg(table.isEmpty() ? QStringLiteral("the query") : table, name)
                                        .toStdString());
    }

    QStringList resolveAll(const QStringList& list) const {
        QStringList out;
        for (const QString& n : list) {
            const QString real = resolve(n).name;
            if (!out.contains(real)) out << real;
        }
        return out;
    }

    bool nullable(const QString& name) const { return resolve(name).nullable; }

    void setOrder(const QStringList& requested) {
        QStringList o = resolveAll(requested);
        for (const QString& k : key)
            if (!o.contains(k)) o << k;
        for (const QString& n : o)
            if (resolve(n).blob)
                throw std::invalid_argument("a blob column cannot order a dataset: " + n.toStdString());
        order = o;

        QStringList read = declared;
        for (const QStringList* extra : {&key, &order})
            for (const QString& n : *extra)
                if (!read.contains(n)) read << n;
        columns.clear();
        for (const QString& n : read)
            columns.push_back(resolve(n));
        names = std::make_shared<const QStringList>(read);
    }

    void setFilter(const QString& condition, const Params& params) {
        QStringList markers;
        const QString sql = translateNamedParameters(condition, &markers);
        QVariantList binds;
        if (markers.isEmpty()) {
            for (const QVariant& v : params.positional())
                binds << v;
        }
        for (const QString& marker : markers) {
            const auto& named = params.named();
            const auto it = std::find_if(named.begin(), named.end(), [&](const auto& p) {
                return p.first.compare(marker, Qt::CaseInsensitive) == 0;
            });
            if (it == named.end())
                throw std::invalid_argument("no value for filter parameter :" + marker.toStdString());
            binds << it->second;
        }
        filterSql = sql;
        filterBinds = binds;
    }

    // The rows of the dataset at all: its filter and its master's current row.
    Where base() const {
        Where w;
        if (!filterSql.trimmed().isEmpty()) w.add(filterSql, filterBinds);
        if (linked) {
            QStringList eq;
            for (const QString& c : linkColumns)
                eq << quoted(c) + QStringLiteral(" = ?");
            w.add(eq.join(QStringLiteral(" AND ")), linkValues);
        }
        return w;
    }

    QString select(const QStringList& list, const Where& where, bool descending, int first) const {
        QStringList by;
        for (const QString& o : order)
            by << quoted(o) + (descending ? QStringLiteral(" DESC") : QString());
        return QStringLiteral("SELECT FIRST %1 %2 FROM %3%4 ORDER BY %5")
            .arg(first)
            .arg(quotedList(list), source, where.sql(), by.join(QStringLiteral(", ")));
    }

    QVariantList valuesOf(const Row& row, const QStringList& list) const {
        QVariantList v;
        for (const QString& n : list)
            v << row[n];
        return v;
    }
};

namespace {

// The condition "order tuple comes after / at-or-after / before `values`" (a prefix of the order).
// Firebird 3 has no row-value comparison, so (a, b) > (x, y) is spelled (a > x) OR (a = x AND b > y).
// NULL sorts before every value, as in Firebird's ascending order (and after it, descending), so each
// comparison with NULL is written out instead of being left to three-valued logic.
// The leading "a >= x" repeats what the terms imply so that the optimizer can use an index on a.
QString keysetCondition(const QStringList& cols, const std::vector<bool>& nullable,
                        const QVariantList& values, const QStringList& placeholders, bool after,
                        bool inclusive, QVariantList& binds) {
    const int k = int(values.size());
    auto ph = [&](int i) { return i < placeholders.size() ? placeholders[i] : QStringLiteral("?"); };
    auto eq = [&](int i, QVariantList& b) {
        if (isNull(values[i])) return quoted(cols[i]) + QStringLiteral(" IS NULL");
        b << values[i];
        return quoted(cols[i]) + QStringLiteral(" = ") + ph(i);
    };
    // Empty when no row can be beyond the value in that direction.
    auto beyond = [&](int i, QVariantList& b) -> QString {
        const QString c = quoted(cols[i]);
        if (after) {
            if (isNull(values[i])) return c + QStringLiteral(" IS NOT NULL");
            b << values[i];
            return c + QStringLiteral(" > ") + ph(i);
        }
        if (isNull(values[i])) return {};
        b << values[i];
        return nullable[size_t(i)] ? QStringLiteral("(%1 < %2 OR %1 IS NULL)").arg(c, ph(i))
                                   : c + QStringLiteral(" < ") + ph(i);
    };

    QStringList terms;
    QVariantList termBinds;
    for (int i = 0; i <= k; ++i) {
        if (i == k && !inclusive) break;
        QStringList parts;
        QVariantList b;
        for (int j = 0; j < i; ++j)
            parts << eq(j, b);
        if (i < k) {
            const QString cmp = beyond(i, b);
            if (cmp.isEmpty()) continue;
            parts << cmp;
        }
        terms << QLatin1Char('(') + (parts.isEmpty() ? QStringLiteral("1 = 1") : parts.join(" AND ")) +
                     QLatin1Char(')');
        termBinds += b;
    }
    if (terms.isEmpty()) return QStringLiteral("1 = 0");

    QString lead;
    if (k > 1 && !isNull(values[0])) {
        if (after) {
            lead = quoted(cols[0]) + QStringLiteral(" >= ") + ph(0) + QStringLiteral(" AND ");
            binds << values[0];
        } else if (!nullable[0]) {
            lead = quoted(cols[0]) + QStringLiteral(" <= ") + ph(0) + QStringLiteral(" AND ");
            binds << values[0];
        }
    }
    binds += termBinds;
    return lead + QLatin1Char('(') + terms.join(QStringLiteral(" OR ")) + QLatin1Char(')');
}

// A value typed into a search box, brought to the column's type. Text is compared as VARCHAR of its
// own length, so a search longer than a CHAR key finds nothing instead of failing on truncation.
// Nothing when the text cannot be a value of the column (letters for a numeric key).
std::optional<QVariant> searchValue(const DatasetColumn& c, const QVariant& value, QString* placeholder) {
    *placeholder = QStringLiteral("?");
    if (isNull(value)) return QVariant();
    const bool text = value.typeId() == QMetaType::QString;
    if (isNumeric(c.type) && text) {
        const QString s = value.toString().trimmed();
        if (s.isEmpty()) return QVariant();
        bool ok = false;
        QVariant v = c.type == QMetaType::Double ? QVariant(s.toDouble(&ok)) : QVariant(s.toLongLong(&ok));
        if (!ok) return std::nullopt;
        return v;
    }
    if (c.type == QMetaType::QString || (text && c.type == QMetaType::UnknownType)) {
        const QString s = value.toString();
        *placeholder = QStringLiteral("CAST(? AS VARCHAR(%1))").arg(std::clamp<qsizetype>(s.size(), 1, 8191));
        return s;
    }
    return value;
}

} // namespace

Dataset::Dataset(Session& session, DatasetDefinition def, QObject* parent)
    : QObject(parent), session_(session), d_(std::make_unique<Impl>()) {
    if (def.table.isEmpty() == def.query.isEmpty())
        throw std::invalid_argument("a dataset reads either a table or a query");

    if (!def.table.isEmpty()) {
        const QString sql = QStringLiteral(
            "SELECT RF.RDB$FIELD_NAME, F.RDB$FIELD_TYPE, F.RDB$FIELD_SUB_TYPE, F.RDB$FIELD_SCALE, "
            "F.RDB$CHARACTER_LENGTH, F.RDB$CHARACTER_SET_ID, COALESCE(RF.RDB$NULL_FLAG, F.RDB$NULL_FLAG, 0), "
            "IIF(F.RDB$COMPUTED_BLR IS NULL, 0, 1) "
            "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
            "WHERE RF.RDB$RELATION_NAME = ? ORDER BY RF.RDB$FIELD_POSITION");
        QString name = def.table;
        auto fields = session.all(sql, {name});
        if (fields.empty()) fields = session.all(sql, {name = def.table.toUpper()});
        if (fields.empty()) throw std::invalid_argument("no table " + def.table.toStdString());
        d_->table = name;
        d_->source = quoted(name);
        for (const Row& f : fields) {
            DatasetColumn c;
            c.name = f.at(0).toString();
            c.type = valueType(f.at(1).toInt(), f.at(2).toInt(), f.at(3).toInt(), f.at(5).toInt());
            c.length = f.at(4).toInt();
            c.nullable = f.at(6).toInt() == 0;
            c.blob = f.at(1).toInt() == 261;
            c.computed = f.at(7).toInt() != 0;
            d_->all.push_back(c);
        }
    } else {
        Statement probe(session, def.query);
        for (const QString& n : probe.columnNames()) {
            DatasetColumn c;
            c.name = n;
            d_->all.push_back(c);
        }
        d_->source = QLatin1Char('(') + def.query + QStringLiteral(") Q");
    }

    if (!def.key.isEmpty()) {
        d_->key = d_->resolveAll(def.key);
    } else if (!d_->table.isEmpty()) {
        for (const Row& r :
             session.all(QStringLiteral("SELECT S.RDB$FIELD_NAME FROM RDB$RELATION_CONSTRAINTS C "
                                        "JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME "
                                        "WHERE C.RDB$RELATION_NAME = ? AND "
                                        "C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' "
                                        "ORDER BY S.RDB$FIELD_POSITION"),
                         {d_->table}))
            d_->key << r.at(0).toString();
    }
    if (d_->key.isEmpty()) throw std::invalid_argument("a dataset needs a key: " + def.table.toStdString());

    if (def.columns.isEmpty()) {
        for (const DatasetColumn& c : d_->all)
            d_->declared << c.name;
    } else {
        d_->declared = d_->resolveAll(def.columns);
    }
    d_->setOrder(def.order);
    d_->setFilter(def.filter, def.filterParams);

    if (def.master) {
        if (def.linkColumns.isEmpty()) throw std::invalid_argument("a master-detail link needs its columns");
        const QStringList masterCols = def.masterColumns.isEmpty() ? def.linkColumns : def.masterColumns;
        if (masterCols.size() != def.linkColumns.size())
            throw std::invalid_argument("link and master columns differ in number");
        d_->linkColumns = d_->resolveAll(def.linkColumns);
        for (const QString& m : masterCols) {
            const auto& mc = def.master->columns();
            const auto it = std::find_if(mc.begin(), mc.end(), [&](const DatasetColumn& c) {
                return c.name.compare(m, Qt::CaseInsensitive) == 0;
            });
            if (it == mc.end())
                throw std::invalid_argument("the master dataset has no column " + m.toStdString());
            d_->masterColumns << it->name;
        }
        d_->master = def.master;
        d_->linked = true;
        for (int i = 0; i < d_->linkColumns.size(); ++i)
            d_->linkValues << QVariant();
        def.master->details_.emplace_back(this);
    }
}

Dataset::~Dataset() = default;

const QString& Dataset::table() const {
    return d_->table;
}
bool Dataset::isReadOnly() const {
    return d_->table.isEmpty();
}
const std::vector<DatasetColumn>& Dataset::columns() const {
    return d_->columns;
}
const QStringList& Dataset::keyColumns() const {
    return d_->key;
}
const QStringList& Dataset::orderColumns() const {
    return d_->order;
}

const DatasetColumn& Dataset::column(const QString& name) const {
    for (const DatasetColumn& c : d_->columns)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0) return c;
    throw std::out_of_range("the dataset does not read column " + name.toStdString());
}

QVariantList Dataset::keyValues(const Row& row) const {
    return d_->valuesOf(row, d_->key);
}

// ---- reading

std::optional<Row> Dataset::readOne(const QString& extra, const QVariantList& extraBinds,
                                    bool descending) const {
    Where w = d_->base();
    if (!extra.isEmpty()) w.add(extra, extraBinds);
    Statement st(session_, d_->select(*d_->names, w, descending, 1));
    st.bind(Params::fromList(w.binds));
    st.execute();
    if (!st.next()) return std::nullopt;
    Row r = st.row();
    st.close();
    return r;
}

std::optional<Row> Dataset::seek(const QVariantList& values, Seek how,
                                 const QStringList& placeholders) const {
    std::vector<bool> nullable;
    for (const QString& o : d_->order)
        nullable.push_back(d_->nullable(o));
    QVariantList binds;
    const QString cond = keysetCondition(d_->order, nullable, values, placeholders, how != Seek::Before,
                                         how == Seek::AtOrAfter, binds);
    return readOne(cond, binds, how == Seek::Before);
}

std::optional<Row> Dataset::byKey(const QVariantList& key, bool withinDataset) const {
    Where w;
    if (withinDataset) w = d_->base();
    QStringList eq;
    for (const QString& k : d_->key)
        eq << quoted(k) + QStringLiteral(" = ?");
    w.add(eq.join(QStringLiteral(" AND ")), key);
    Statement st(session_, d_->select(*d_->names, w, false, 1));
    st.bind(Params::fromList(w.binds));
    st.execute();
    if (!st.next()) return std::nullopt;
    Row r = st.row();
    st.close();
    return r;
}

std::vector<Row> Dataset::readRows(const QStringList& columns, const Row* after, int limit) const {
    if (!open_ || limit <= 0) return {};
    QStringList list = columns.isEmpty() ? d_->declared : d_->resolveAll(columns);
    for (const QString& o : d_->order)
        if (!list.contains(o)) list << o;
    Where w = d_->base();
    if (after) {
        std::vector<bool> nullable;
        for (const QString& o : d_->order)
            nullable.push_back(d_->nullable(o));
        QVariantList binds;
        w.add(keysetCondition(d_->order, nullable, d_->valuesOf(*after, d_->order), {}, true, false, binds),
              binds);
    }
    Statement st(session_, d_->select(list, w, false, limit));
    st.bind(Params::fromList(w.binds));
    st.execute();
    std::vector<Row> rows;
    while (st.next())
        rows.push_back(st.row());
    return rows;
}

std::optional<Row> Dataset::readKey(const QVariantList& key) const {
    if (!open_ || key.size() != d_->key.size()) return std::nullopt;
    return byKey(key, true);
}

int Dataset::recordCount() const {
    if (!open_) return 0;
    const Where w = d_->base();
    return session_
        .scalar(QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(d_->source, w.sql()),
                Params::fromList(w.binds))
        .toInt();
}

// ---- position

void Dataset::show(std::optional<Row> row) {
    hasRow_ = row.has_value();
    original_ = row ? std::move(*row) : Row(d_->names, std::vector<QVariant>(size_t(d_->names->size())));
    buffer_ = original_;
    assigned_.clear();
    for (const auto& detail : details_)
        if (detail) detail->masterMoved();
    emit currentChanged();
}

void Dataset::setState(State s) {
    if (state_ == s) return;
    state_ = s;
    emit stateChanged();
}

void Dataset::checkBrowseMode() {
    for (const auto& detail : details_)
        if (detail) detail->checkBrowseMode();
    if (state_ == State::Browse) return;
    if (isModified())
        post();
    else
        cancel();
}

void Dataset::reopen() {
    if (state_ != State::Browse) {
        beforeInsert_.reset();
        setState(State::Browse);
    }
    auto row = open_ ? readOne({}, {}, false) : std::nullopt;
    bof_ = true;
    eof_ = !row;
    show(std::move(row));
    emit reopened();
}

void Dataset::masterMoved() {
    QVariantList values;
    const Dataset* m = d_->master;
    for (const QString& c : d_->masterColumns)
        values << (m && m->open_ ? m->value(c) : QVariant());
    auto same = [](const QVariantList& a, const QVariantList& b) {
        for (int i = 0; i < a.size(); ++i)
            if (isNull(a[i]) != isNull(b[i]) || (!isNull(a[i]) && a[i] != b[i])) return false;
        return true;
    };
    if (same(values, d_->linkValues)) return;
    d_->linkValues = values;
    if (open_) reopen();
}

void Dataset::open() {
    if (d_->linked) {
        const Dataset* m = d_->master;
        d_->linkValues.clear();
        for (const QString& c : d_->masterColumns)
            d_->linkValues << (m && m->open_ ? m->value(c) : QVariant());
    }
    open_ = true;
    reopen();
}

void Dataset::close() {
    open_ = false;
    reopen();
}

void Dataset::setFilter(const QString& condition, const Params& params) {
    checkBrowseMode();
    d_->setFilter(condition, params);
    if (open_) reopen();
}

void Dataset::setOrder(const QStringList& columns) {
    checkBrowseMode();
    const std::optional<QVariantList> key = hasRow_ ? std::optional(keyValues(original_)) : std::nullopt;
    d_->setOrder(columns);
    if (!open_) return;
    if (!key) {
        reopen();
        return;
    }
    auto row = byKey(*key, true);
    if (!row) row = readOne({}, {}, false);
    bof_ = eof_ = !row;
    show(std::move(row));
    emit reopened();
}

bool Dataset::first() {
    if (!open_) return false;
    checkBrowseMode();
    auto row = readOne({}, {}, false);
    bof_ = true;
    eof_ = !row;
    show(std::move(row));
    return hasRow_;
}

bool Dataset::last() {
    if (!open_) return false;
    checkBrowseMode();
    auto row = readOne({}, {}, true);
    eof_ = true;
    bof_ = !row;
    show(std::move(row));
    return hasRow_;
}

bool Dataset::next() {
    if (!open_) return false;
    checkBrowseMode();
    if (!hasRow_) {
        eof_ = true;
        return false;
    }
    auto row = seek(d_->valuesOf(original_, d_->order), Seek::After);
    if (!row) {
        eof_ = true;
        return false;
    }
    bof_ = eof_ = false;
    show(std::move(row));
    return true;
}

bool Dataset::prior() {
    if (!open_) return false;
    checkBrowseMode();
    if (!hasRow_) {
        bof_ = true;
        return false;
    }
    auto row = seek(d_->valuesOf(original_, d_->order), Seek::Before);
    if (!row) {
        bof_ = true;
        return false;
    }
    bof_ = eof_ = false;
    show(std::move(row));
    return true;
}

bool Dataset::locateExact(const QVariantList& values) {
    if (values.size() > d_->order.size())
        throw std::invalid_argument("more search values than ordering columns");
    return locateExact(d_->order.mid(0, int(values.size())), values);
}

bool Dataset::locateExact(const QStringList& columns, const QVariantList& values) {
    if (columns.size() != values.size() || columns.isEmpty())
        throw std::invalid_argument("locate needs one value per column");
    if (!open_) return false;
    QStringList eq;
    QVariantList binds;
    for (int i = 0; i < columns.size(); ++i) {
        const DatasetColumn& c = d_->resolve(columns[i]);
        if (c.blob) throw std::invalid_argument("cannot search a blob column: " + c.name.toStdString());
        QString ph;
        const auto v = searchValue(c, values[i], &ph);
        if (!v) return false;
        if (isNull(*v)) {
            eq << quoted(c.name) + QStringLiteral(" IS NULL");
        } else {
            eq << quoted(c.name) + QStringLiteral(" = ") + ph;
            binds << *v;
        }
    }
    checkBrowseMode();
    auto row = readOne(eq.join(QStringLiteral(" AND ")), binds, false);
    if (!row) return false;
    bof_ = eof_ = false;
    show(std::move(row));
    return true;
}

bool Dataset::locateNearest(const QVariantList& values) {
    if (values.isEmpty() || values.size() > d_->order.size())
        throw std::invalid_argument("nearest search needs a prefix of the ordering columns");
    if (!open_) return false;
    QVariantList typed;
    QStringList placeholders;
    for (int i = 0; i < values.size(); ++i) {
        QString ph;
        const auto v = searchValue(d_->resolve(d_->order[i]), values[i], &ph);
        if (!v) return false;
        typed << *v;
        placeholders << ph;
    }
    checkBrowseMode();
    auto row = seek(typed, Seek::AtOrAfter, placeholders);
    if (!row) {
        last();
        return false;
    }
    bof_ = eof_ = false;
    show(std::move(row));
    return true;
}

void Dataset::positionNear(const Row& gone) {
    auto row = seek(d_->valuesOf(gone, d_->order), Seek::AtOrAfter);
    if (!row) row = readOne({}, {}, true);
    bof_ = eof_ = !row;
    show(std::move(row));
}

void Dataset::refresh() {
    if (!open_) return;
    checkBrowseMode();
    if (!hasRow_) {
        first();
        return;
    }
    if (auto row = byKey(keyValues(original_), true)) {
        show(std::move(row));
        return;
    }
    positionNear(Row(original_));
}

// ---- editing

void Dataset::edit() {
    if (isReadOnly()) throw std::logic_error("the dataset is read only");
    if (!open_) throw std::logic_error("the dataset is closed");
    if (state_ != State::Browse) return;
    if (!hasRow_) {
        insert();
        return;
    }
    setState(State::Edit);
}

void Dataset::insert() {
    if (isReadOnly()) throw std::logic_error("the dataset is read only");
    if (!open_) throw std::logic_error("the dataset is closed");
    checkBrowseMode();
    beforeInsert_ = hasRow_ ? std::optional(original_) : std::nullopt;
    hasRow_ = false;
    original_ = Row(d_->names, std::vector<QVariant>(size_t(d_->names->size())));
    buffer_ = original_;
    assigned_.clear();
    state_ = State::Insert;
    if (d_->linked)
        for (int i = 0; i < d_->linkColumns.size(); ++i)
            setValue(d_->linkColumns[i], d_->linkValues[i]);
    if (defaults_) defaults_(*this);
    for (const auto& detail : details_)
        if (detail) detail->masterMoved();
    emit stateChanged();
    emit currentChanged();
}

void Dataset::setValue(const QString& column, const QVariant& value) {
    if (state_ == State::Browse) throw std::logic_error("the dataset is not being edited");
    const DatasetColumn& c = this->column(column);
    if (c.computed) throw std::logic_error("column " + c.name.toStdString() + " is computed");
    QVariant v = value;
    if (value.typeId() == QMetaType::QString && value.toString().isEmpty() && c.type != QMetaType::QString &&
        c.type != QMetaType::UnknownType)
        v = QVariant();
    buffer_.values()[size_t(buffer_.indexOf(c.name))] = v;
    if (!assigned_.contains(c.name)) assigned_ << c.name;
    emit fieldChanged(c.name);
}

QVariant Dataset::value(const QString& column) const {
    return buffer_[column];
}

void Dataset::post() {
    if (state_ == State::Browse) return;
    QStringList changed;
    for (const QString& n : assigned_) {
        const QVariant& now = buffer_[n];
        const QVariant& was = original_[n];
        if (state_ == State::Insert || isNull(now) != isNull(was) || now.typeId() != was.typeId() ||
            now != was)
            changed << n;
    }
    if (state_ == State::Edit && changed.isEmpty()) {
        cancel();
        return;
    }

    QString sql;
    QVariantList binds;
    for (const QString& n : changed)
        binds << buffer_[n];
    if (state_ == State::Insert) {
        QStringList markers;
        for (int i = 0; i < changed.size(); ++i)
            markers << QStringLiteral("?");
        sql = changed.isEmpty()
                  ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(d_->source)
                  : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                        .arg(d_->source, quotedList(changed), markers.join(QStringLiteral(", ")));
    } else {
        QStringList sets;
        for (const QString& n : changed)
            sets << quoted(n) + QStringLiteral(" = ?");
        QStringList where;
        for (const QString& k : d_->key)
            where << quoted(k) + QStringLiteral(" = ?");
        sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                  .arg(d_->source, sets.join(QStringLiteral(", ")), where.join(QStringLiteral(" AND ")));
        binds += keyValues(original_);
    }
    // The key as the engine stored it: a trigger may have drawn it from a generator.
    sql += QStringLiteral(" RETURNING ") + quotedList(d_->key);

    Statement st(session_, sql);
    st.bind(Params::fromList(binds));
    if (st.execute() == 0)
        throw DbError(QStringLiteral("El registro ya no existe: otro usuario lo borró o cambió su código."),
                      0, sql);
    const QVariantList key(st.row().values().begin(), st.row().values().end());

    beforeInsert_.reset();
    state_ = State::Browse;
    auto row = byKey(key, true);
    if (row) {
        bof_ = eof_ = false;
        show(std::move(row));
    } else if (auto outside = byKey(key, false)) {
        // The row no longer meets the filter or the link: stand where it would have been.
        positionNear(*outside);
    } else {
        positionNear(Row(original_));
    }
    emit stateChanged();
    emit dataChanged();
}

void Dataset::cancel() {
    if (state_ == State::Browse) return;
    const bool inserting = state_ == State::Insert;
    state_ = State::Browse;
    if (inserting) {
        auto back = std::move(beforeInsert_);
        beforeInsert_.reset();
        show(std::move(back));
    } else {
        show(Row(original_));
    }
    emit stateChanged();
}

void Dataset::remove() {
    if (isReadOnly()) throw std::logic_error("the dataset is read only");
    if (state_ == State::Insert) {
        cancel();
        return;
    }
    if (!open_ || !hasRow_) return;
    for (const auto& detail : details_)
        if (detail) detail->checkBrowseMode();
    QStringList where;
    for (const QString& k : d_->key)
        where << quoted(k) + QStringLiteral(" = ?");
    session_.execute(
        QStringLiteral("DELETE FROM %1 WHERE %2").arg(d_->source, where.join(QStringLiteral(" AND "))),
        Params::fromList(keyValues(original_)));

    const Row gone = original_;
    const bool wasEditing = state_ != State::Browse;
    state_ = State::Browse;
    const QVariantList at = d_->valuesOf(gone, d_->order);
    auto row = seek(at, Seek::After);
    if (!row) row = seek(at, Seek::Before);
    bof_ = eof_ = !row;
    show(std::move(row));
    if (wasEditing) emit stateChanged();
    emit dataChanged();
}

} // namespace db
