#include "platform/db/Statement.h"

#include "platform/db/DbError.h"
#include "platform/db/FbInternal.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace db {

namespace {

constexpr short kUtf8 = 4;
constexpr short kOctets = 1;
const qint64 kMjdEpoch = QDate(1858, 11, 17).toJulianDay();

struct Sqlda {
    XSQLDA* p = nullptr;
    explicit Sqlda(int n) { resize(n); }
    ~Sqlda() { std::free(p); }
    void resize(int n) {
        std::free(p);
        const int count = n < 1 ? 1 : n;
        p = static_cast<XSQLDA*>(std::calloc(1, XSQLDA_LENGTH(count)));
        p->version = SQLDA_VERSION1;
        p->sqln = short(count);
    }
};

// Keyword at the start of a statement, skipping blanks and comments.
QString leadingKeyword(const QString& sql) {
    int i = 0;
    const int n = int(sql.size());
    while (i < n) {
        if (sql[i].isSpace()) {
            ++i;
        } else if (sql.mid(i, 2) == QLatin1String("--")) {
            while (i < n && sql[i] != QLatin1Char('\n')) ++i;
        } else if (sql.mid(i, 2) == QLatin1String("/*")) {
            const int end = int(sql.indexOf(QLatin1String("*/"), i + 2));
            i = end < 0 ? n : end + 2;
        } else {
            break;
        }
    }
    int j = i;
    while (j < n && (sql[j].isLetter() || sql[j] == QLatin1Char('_'))) ++j;
    return sql.mid(i, j - i).toUpper();
}

ISC_TIMESTAMP toTimestamp(const QDateTime& dt) {
    ISC_TIMESTAMP ts;
    ts.timestamp_date = ISC_DATE(dt.date().toJulianDay() - kMjdEpoch);
    ts.timestamp_time = ISC_TIME(dt.time().msecsSinceStartOfDay()) * 10;
    return ts;
}

QDateTime fromTimestamp(const ISC_TIMESTAMP& ts) {
    const QDate d = QDate::fromJulianDay(qint64(ts.timestamp_date) + kMjdEpoch);
    const QTime t = QTime::fromMSecsSinceStartOfDay(int(ts.timestamp_time / 10));
    return QDateTime(d, t);
}

double scaled(qint64 v, short scale) { return double(v) * std::pow(10.0, scale); }

} // namespace

QString translateNamedParameters(const QString& sql, QStringList* names) {
    const QString kw = leadingKeyword(sql);
    if (kw == QLatin1String("EXECUTE") || kw == QLatin1String("CREATE") || kw == QLatin1String("ALTER") ||
        kw == QLatin1String("RECREATE"))
        return sql; // PSQL bodies use ":var" themselves
    QString out;
    out.reserve(sql.size());
    const int n = int(sql.size());
    for (int i = 0; i < n;) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j + 1;
        } else if (sql.mid(i, 2) == QLatin1String("--")) {
            int j = int(sql.indexOf(QLatin1Char('\n'), i));
            if (j < 0) j = n;
            out += sql.mid(i, j - i);
            i = j;
        } else if (sql.mid(i, 2) == QLatin1String("/*")) {
            int j = int(sql.indexOf(QLatin1String("*/"), i + 2));
            j = j < 0 ? n : j + 2;
            out += sql.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == QLatin1Char('_'))) {
            int j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == QLatin1Char('_') || sql[j] == QLatin1Char('$')))
                ++j;
            if (names) names->push_back(sql.mid(i + 1, j - i - 1).toUpper());
            out += QLatin1Char('?');
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

struct Statement::Impl {
    Session::Handles* h = nullptr;
    isc_stmt_handle stmt = 0;
    int type = 0;
    Sqlda in{1};
    Sqlda out{1};
    std::vector<QByteArray> inBuffers;
    std::vector<short> inNulls;
    std::vector<std::vector<char>> outBuffers;
    std::vector<short> outNulls;
    std::vector<QVariant> values;
    std::vector<short> describedType;
    std::vector<short> describedSubtype;
    std::shared_ptr<QStringList> columnNames;
    isc_tr_handle ownTr = 0; // autocommit transaction of an open cursor
    bool cursorOpen = false;
};

Statement::Statement(Session& session, const QString& sql)
    : session_(session), sql_(sql), d_(std::make_unique<Impl>()) {
    d_->h = &session.handles();
    const QString text = translateNamedParameters(sql, &paramNames_);
    const QByteArray utf8 = text.toUtf8();
    ISC_STATUS_ARRAY status;
    isc_dsql_allocate_statement(status, &d_->h->db, &d_->stmt);
    fb::check(status, sql_);

    // Preparing needs a transaction; a prepared statement may then run in any other.
    isc_tr_handle tr = d_->h->tr;
    isc_tr_handle temp = 0;
    if (!tr) tr = temp = fb::startTransaction(*d_->h, true, sql_);
    isc_dsql_prepare(status, &tr, &d_->stmt, 0, utf8.constData(), 3, d_->out.p);
    if (status[0] == 1 && status[1]) {
        fb::rollbackQuietly(temp);
        ISC_STATUS_ARRAY s2;
        isc_dsql_free_statement(s2, &d_->stmt, DSQL_drop);
        fb::raise(status, sql_);
    }
    if (temp) fb::commit(temp, sql_);

    char item = isc_info_sql_stmt_type;
    char info[16];
    isc_dsql_sql_info(status, &d_->stmt, 1, &item, sizeof info, info);
    fb::check(status, sql_);
    if (info[0] == isc_info_sql_stmt_type) {
        const short len = short(isc_vax_integer(info + 1, 2));
        d_->type = int(isc_vax_integer(info + 3, len));
    }

    // Output columns.
    if (d_->out.p->sqld > d_->out.p->sqln) {
        const int n = d_->out.p->sqld;
        d_->out.resize(n);
        isc_dsql_describe(status, &d_->stmt, 1, d_->out.p);
        fb::check(status, sql_);
    }
    const int nOut = d_->out.p->sqld;
    d_->outBuffers.resize(size_t(nOut));
    d_->outNulls.assign(size_t(nOut), 0);
    d_->columnNames = std::make_shared<QStringList>();
    for (int i = 0; i < nOut; ++i) {
        XSQLVAR& v = d_->out.p->sqlvar[i];
        size_t len = size_t(v.sqllen);
        if ((v.sqltype & ~1) == SQL_VARYING) len += 2;
        d_->outBuffers[size_t(i)].assign(len + 1, 0);
        v.sqldata = d_->outBuffers[size_t(i)].data();
        v.sqlind = &d_->outNulls[size_t(i)];
        v.sqltype |= 1;
        d_->columnNames->push_back(QString::fromUtf8(v.aliasname, v.aliasname_length));
    }

    // Input parameters.
    isc_dsql_describe_bind(status, &d_->stmt, 1, d_->in.p);
    fb::check(status, sql_);
    if (d_->in.p->sqld > d_->in.p->sqln) {
        d_->in.resize(d_->in.p->sqld);
        isc_dsql_describe_bind(status, &d_->stmt, 1, d_->in.p);
        fb::check(status, sql_);
    }
    const int nIn = d_->in.p->sqld;
    d_->values.resize(size_t(nIn));
    d_->inBuffers.resize(size_t(nIn));
    d_->inNulls.assign(size_t(nIn), 0);
    for (int i = 0; i < nIn; ++i) {
        d_->describedType.push_back(short(d_->in.p->sqlvar[i].sqltype & ~1));
        d_->describedSubtype.push_back(d_->in.p->sqlvar[i].sqlsubtype);
    }
    if (!paramNames_.isEmpty() && paramNames_.size() != nIn) paramNames_.clear();
}

Statement::~Statement() {
    close();
    ISC_STATUS_ARRAY status;
    if (d_->stmt) isc_dsql_free_statement(status, &d_->stmt, DSQL_drop);
}

int Statement::parameterCount() const { return int(d_->values.size()); }
int Statement::columnCount() const { return d_->columnNames->size(); }
QStringList Statement::columnNames() const { return *d_->columnNames; }
bool Statement::isSelect() const {
    return d_->type == isc_info_sql_stmt_select || d_->type == isc_info_sql_stmt_select_for_upd;
}

QString Statement::plan() const {
    char item = isc_info_sql_get_plan;
    std::vector<char> info(32000);
    ISC_STATUS_ARRAY status;
    isc_dsql_sql_info(status, &d_->stmt, 1, &item, short(info.size() - 1), info.data());
    fb::check(status, sql_);
    if (info[0] != isc_info_sql_get_plan) return {};
    const int len = int(isc_vax_integer(info.data() + 1, 2));
    return QString::fromUtf8(info.data() + 3, len).trimmed();
}

void Statement::bind(int index, const QVariant& value) {
    if (index < 0 || index >= parameterCount())
        throw std::out_of_range("parameter index out of range in: " + sql_.toStdString());
    d_->values[size_t(index)] = value;
}

void Statement::bind(const QString& name, const QVariant& value) {
    bool found = false;
    for (int i = 0; i < paramNames_.size(); ++i)
        if (paramNames_[i].compare(name, Qt::CaseInsensitive) == 0) {
            d_->values[size_t(i)] = value;
            found = true;
        }
    if (!found) throw std::out_of_range("no parameter :" + name.toStdString() + " in: " + sql_.toStdString());
}

void Statement::bind(const Params& params) {
    for (size_t i = 0; i < params.positional().size(); ++i) bind(int(i), params.positional()[i]);
    for (const auto& [name, value] : params.named()) bind(name, value);
}

void Statement::clearBindings() { std::fill(d_->values.begin(), d_->values.end(), QVariant()); }

namespace {

ISC_QUAD writeBlob(Session::Handles& h, isc_tr_handle* tr, const QByteArray& bytes, const QString& sql) {
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    ISC_QUAD id{};
    isc_create_blob2(status, &h.db, tr, &blob, &id, 0, nullptr);
    fb::check(status, sql);
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const unsigned short chunk = left > 32000 ? 32000 : (unsigned short)left;
        isc_put_segment(status, &blob, chunk, p);
        if (status[0] == 1 && status[1]) {
            ISC_STATUS_ARRAY s2;
            isc_cancel_blob(s2, &blob);
            fb::raise(status, sql);
        }
        p += chunk;
        left -= chunk;
    }
    isc_close_blob(status, &blob);
    fb::check(status, sql);
    return id;
}

QByteArray readBlob(Session::Handles& h, isc_tr_handle* tr, ISC_QUAD id, const QString& sql) {
    ISC_STATUS_ARRAY status;
    isc_blob_handle blob = 0;
    isc_open_blob2(status, &h.db, tr, &blob, &id, 0, nullptr);
    fb::check(status, sql);
    QByteArray out;
    char buf[32768];
    for (;;) {
        unsigned short got = 0;
        const ISC_STATUS rc = isc_get_segment(status, &blob, &got, sizeof buf, buf);
        if (rc == 0 || rc == isc_segment) {
            out.append(buf, got);
            continue;
        }
        if (rc == isc_segstr_eof) break;
        ISC_STATUS_ARRAY s2;
        isc_close_blob(s2, &blob);
        fb::raise(status, sql);
    }
    isc_close_blob(status, &blob);
    return out;
}

std::vector<QVariant> convertRow(Session::Handles& h, isc_tr_handle* tr, const XSQLDA* out, const QString& sql) {
    std::vector<QVariant> vals;
        vals.reserve(size_t(out->sqld));
    for (int i = 0; i < out->sqld; ++i) {
        const XSQLVAR& v = out->sqlvar[i];
        if (*v.sqlind < 0) {
            vals.emplace_back();
            continue;
        }
        const char* data = v.sqldata;
        switch (v.sqltype & ~1) {
        case SQL_TEXT: {
            if (v.sqlsubtype == kOctets) {
                vals.emplace_back(QByteArray(data, v.sqllen));
                break;
            }
            int len = v.sqllen;
            while (len > 0 && data[len - 1] == ' ') --len;
            vals.emplace_back(QString::fromUtf8(data, len));
            break;
        }
        case SQL_VARYING: {
            unsigned short len;
            std::memcpy(&len, data, 2);
            if (v.sqlsubtype == kOctets)
                vals.emplace_back(QByteArray(data + 2, len));
            else
                vals.emplace_back(QString::fromUtf8(data + 2, len));
            break;
        }
        case SQL_SHORT: {
            short x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(v.sqlscale ? QVariant(scaled(x, v.sqlscale)) : QVariant(int(x)));
            break;
        }
        case SQL_LONG: {
            ISC_LONG x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(v.sqlscale ? QVariant(scaled(x, v.sqlscale)) : QVariant(int(x)));
            break;
        }
        case SQL_INT64: {
            ISC_INT64 x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(v.sqlscale ? QVariant(scaled(x, v.sqlscale)) : QVariant(qlonglong(x)));
            break;
        }
        case SQL_FLOAT: {
            float x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(double(x));
            break;
        }
        case SQL_DOUBLE:
        case SQL_D_FLOAT: {
            double x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(x);
            break;
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(fromTimestamp(x));
            break;
        }
        case SQL_TYPE_DATE: {
            ISC_DATE x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(QDate::fromJulianDay(qint64(x) + kMjdEpoch));
            break;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME x;
            std::memcpy(&x, data, sizeof x);
            vals.emplace_back(QTime::fromMSecsSinceStartOfDay(int(x / 10)));
            break;
        }
        case SQL_BOOLEAN: vals.emplace_back(bool(*data)); break;
        case SQL_BLOB: {
            ISC_QUAD id;
            std::memcpy(&id, data, sizeof id);
            const QByteArray bytes = readBlob(h, tr, id, sql);
            if (v.sqlsubtype == 1)
                vals.emplace_back(QString::fromUtf8(bytes));
            else
                vals.emplace_back(bytes);
            break;
        }
        default: vals.emplace_back(); break;
        }
    }
    return vals;
}

void setText(XSQLVAR& v, QByteArray& buf, const QByteArray& bytes, short charset) {
    buf.resize(2 + bytes.size());
    const unsigned short len = (unsigned short)bytes.size();
    std::memcpy(buf.data(), &len, 2);
    std::memcpy(buf.data() + 2, bytes.constData(), size_t(bytes.size()));
    v.sqltype = SQL_VARYING | 1;
    v.sqlsubtype = charset;
    v.sqlscale = 0;
    v.sqllen = short(bytes.size());
}

template <typename T> void setPod(XSQLVAR& v, QByteArray& buf, short type, T value) {
    buf.resize(sizeof(T));
    std::memcpy(buf.data(), &value, sizeof(T));
    v.sqltype = short(type | 1);
    v.sqlscale = 0;
    v.sqllen = short(sizeof(T));
}

} // namespace

int Statement::execute() {
    close();
    ISC_STATUS_ARRAY status;
    isc_tr_handle* tr = static_cast<isc_tr_handle*>(session_.currentTransaction());
    isc_tr_handle autoTr = 0;
    const bool select = isSelect();
    if (!tr) {
        const bool readOnly = d_->type == isc_info_sql_stmt_select;
        autoTr = fb::startTransaction(*d_->h, readOnly, sql_);
        tr = &autoTr;
    }
    try {
        for (int i = 0; i < parameterCount(); ++i) {
            XSQLVAR& v = d_->in.p->sqlvar[i];
            QByteArray& buf = d_->inBuffers[size_t(i)];
            const QVariant& val = d_->values[size_t(i)];
            const short described = d_->describedType[size_t(i)];
            v.sqltype = short(described | 1);
            v.sqlsubtype = d_->describedSubtype[size_t(i)];
            v.sqlind = &d_->inNulls[size_t(i)];
            if (!val.isValid() || val.isNull()) {
                d_->inNulls[size_t(i)] = -1;
                buf.fill(0, 16);
                v.sqldata = buf.data();
                continue;
            }
            d_->inNulls[size_t(i)] = 0;
            const int t = val.typeId();
            if (described == SQL_BLOB) {
                const QByteArray bytes = t == QMetaType::QByteArray ? val.toByteArray() : val.toString().toUtf8();
                setPod(v, buf, SQL_BLOB, writeBlob(*d_->h, tr, bytes, sql_));
                v.sqlsubtype = d_->describedSubtype[size_t(i)];
            } else if (t == QMetaType::Double || t == QMetaType::Float) {
                setPod(v, buf, SQL_DOUBLE, val.toDouble());
            } else if (t == QMetaType::Int || t == QMetaType::UInt || t == QMetaType::LongLong ||
                       t == QMetaType::ULongLong || t == QMetaType::Short || t == QMetaType::Long ||
                       t == QMetaType::UShort) {
                setPod(v, buf, SQL_INT64, ISC_INT64(val.toLongLong()));
            } else if (t == QMetaType::Bool) {
                if (described == SQL_BOOLEAN)
                    setPod(v, buf, SQL_BOOLEAN, FB_BOOLEAN(val.toBool() ? FB_TRUE : FB_FALSE));
                else
                    setPod(v, buf, SQL_INT64, ISC_INT64(val.toBool() ? 1 : 0));
            } else if (t == QMetaType::QDateTime) {
                setPod(v, buf, SQL_TIMESTAMP, toTimestamp(val.toDateTime()));
            } else if (t == QMetaType::QDate) {
                if (described == SQL_TYPE_DATE)
                    setPod(v, buf, SQL_TYPE_DATE, ISC_DATE(val.toDate().toJulianDay() - kMjdEpoch));
                else
                    setPod(v, buf, SQL_TIMESTAMP, toTimestamp(QDateTime(val.toDate(), QTime(0, 0))));
            } else if (t == QMetaType::QTime) {
                setPod(v, buf, SQL_TYPE_TIME, ISC_TIME(val.toTime().msecsSinceStartOfDay()) * 10);
            } else if (t == QMetaType::QByteArray) {
                setText(v, buf, val.toByteArray(), kOctets);
            } else {
                setText(v, buf, val.toString().toUtf8(), kUtf8);
            }
            v.sqldata = buf.data();
        }

        XSQLDA* inDa = parameterCount() ? d_->in.p : nullptr;
        const bool singleton = !select && columnCount() > 0;
        if (singleton) {
            isc_dsql_execute2(status, tr, &d_->stmt, 1, inDa, d_->out.p);
        } else {
            isc_dsql_execute(status, tr, &d_->stmt, 1, inDa);
        }
        fb::check(status, sql_);

        if (select) {
            d_->cursorOpen = true;
            d_->ownTr = autoTr;
            autoTr = 0;
            return 0;
        }

        int affected = 0;
        char item = isc_info_sql_records;
        char info[64];
        isc_dsql_sql_info(status, &d_->stmt, 1, &item, sizeof info, info);
        if (!(status[0] == 1 && status[1]) && info[0] == isc_info_sql_records) {
            for (const char* p = info + 3; *p != isc_info_end;) {
                const char code = *p++;
                const short len = short(isc_vax_integer(p, 2));
                p += 2;
                const ISC_LONG count = isc_vax_integer(p, len);
                p += len;
                if (code == isc_info_req_insert_count || code == isc_info_req_update_count ||
                    code == isc_info_req_delete_count)
                    affected += int(count);
            }
        }
        // RETURNING values are read while their transaction (and any blob in it) is alive.
        if (singleton) row_ = Row(d_->columnNames, convertRow(*d_->h, tr, d_->out.p, sql_));
        if (autoTr) fb::commit(autoTr, sql_);
        return affected;
    } catch (...) {
        fb::rollbackQuietly(autoTr);
        throw;
    }
}

void Statement::close() {
    if (d_->cursorOpen) {
        ISC_STATUS_ARRAY status;
        isc_dsql_free_statement(status, &d_->stmt, DSQL_close);
        d_->cursorOpen = false;
    }
    if (d_->ownTr) {
        ISC_STATUS_ARRAY status;
        isc_commit_transaction(status, &d_->ownTr);
        if (d_->ownTr) fb::rollbackQuietly(d_->ownTr);
        d_->ownTr = 0;
    }
}

bool Statement::next() {
    if (!d_->cursorOpen) return false;
    ISC_STATUS_ARRAY status;
    const ISC_STATUS rc = isc_dsql_fetch(status, &d_->stmt, 1, d_->out.p);
    if (rc == 100) {
        close();
        return false;
    }
    if (rc != 0) {
        try {
            fb::raise(status, sql_);
        } catch (...) {
            close();
            throw;
        }
    }
    isc_tr_handle* tr = d_->ownTr ? &d_->ownTr : static_cast<isc_tr_handle*>(session_.currentTransaction());
    row_ = Row(d_->columnNames, convertRow(*d_->h, tr, d_->out.p, sql_));
    return true;
}

} // namespace db
