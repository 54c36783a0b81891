#include "platform/db/Session.h"

#include "platform/db/DbError.h"
#include "platform/db/FbInternal.h"
#include "platform/db/Statement.h"

#include <QByteArray>
#include <QFile>
#include <stdexcept>

namespace db {
namespace fb {

[[noreturn]] void raise(const ISC_STATUS* status, const QString& statement) {
    std::vector<long> codes;
    for (const ISC_STATUS* p = status; *p != isc_arg_end;) {
        const ISC_STATUS kind = *p++;
        switch (kind) {
        case isc_arg_gds: codes.push_back(long(*p++)); break;
        case isc_arg_cstring: p += 2; break;
        default: ++p; break;
        }
    }
    QStringList lines;
    const ISC_STATUS* pv = status;
    char buffer[1024];
    while (fb_interpret(buffer, sizeof buffer, &pv) > 0) lines << QString::fromUtf8(buffer);
    const int sqlCode = int(isc_sqlcode(status));
    throw DbError(lines.join(QLatin1Char('\n')), sqlCode, statement, std::move(codes));
}

void check(const ISC_STATUS* status, const QString& statement) {
    if (status[0] == 1 && status[1] != 0) raise(status, statement);
}

isc_tr_handle startTransaction(Session::Handles& h, bool readOnly, const QString& context) {
    const char tpb[] = {isc_tpb_version3, char(readOnly ? isc_tpb_read : isc_tpb_write), isc_tpb_read_committed,
                        isc_tpb_rec_version, isc_tpb_nowait};
    ISC_STATUS_ARRAY status;
    isc_tr_handle tr = 0;
    isc_start_transaction(status, &tr, 1, &h.db, short(sizeof tpb), tpb);
    check(status, context);
    return tr;
}

void commit(isc_tr_handle& tr, const QString& context) {
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &tr);
    check(status, context);
}

void rollbackQuietly(isc_tr_handle& tr) {
    if (!tr) return;
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &tr);
    tr = 0;
}

} // namespace fb

namespace {

QByteArray dpbFor(const ConnectionParams& p) {
    QByteArray dpb;
    dpb.append(char(isc_dpb_version1));
    auto add = [&dpb](char tag, const QByteArray& value) {
        dpb.append(tag);
        dpb.append(char(value.size()));
        dpb.append(value);
    };
    add(isc_dpb_user_name, p.user.toUtf8());
    add(isc_dpb_password, p.password.toUtf8());
    add(isc_dpb_lc_ctype, p.charset.toUtf8());
    // The page cache of the database, in pages (128 MB at the 16 KB pages this program creates). The engine's default of 2048 pages
    // keeps too little of a long movement history: the per-item reads of every line post (an item's
    // lines in a warehouse, its entry totals) then go to the disk. The first attachment of a database
    // sets it; a server that holds the database already keeps its own.
    constexpr quint32 kPageBuffers = 8192;
    dpb.append(char(isc_dpb_num_buffers));
    dpb.append(char(4));
    for (int shift = 0; shift < 32; shift += 8) dpb.append(char((kPageBuffers >> shift) & 0xff));
    dpb.append(char(isc_dpb_sql_dialect));
    dpb.append(char(1));
    dpb.append(char(3));
    return dpb;
}

QString quoted(const QString& s) {
    QString out = s;
    out.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

} // namespace

Session::Session(ConnectionParams params) : params_(std::move(params)), h_(std::make_unique<Handles>()) {}

std::unique_ptr<Session> Session::attach(const ConnectionParams& params) {
    std::unique_ptr<Session> s(new Session(params));
    const QByteArray path = params.database.toUtf8();
    const QByteArray dpb = dpbFor(params);
    ISC_STATUS_ARRAY status;
    isc_attach_database(status, short(path.size()), path.constData(), &s->h_->db, short(dpb.size()),
                        dpb.constData());
    fb::check(status, QStringLiteral("ATTACH ") + params.database);
    return s;
}

std::unique_ptr<Session> Session::create(const ConnectionParams& params, int pageSize) {
    const QString sql = QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 PAGE_SIZE %4 "
                                       "DEFAULT CHARACTER SET UTF8")
                            .arg(quoted(params.database), quoted(params.user), quoted(params.password))
                            .arg(pageSize);
    const QByteArray text = sql.toUtf8();
    ISC_STATUS_ARRAY status;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_dsql_execute_immediate(status, &db, &tr, 0, text.constData(), 3, nullptr);
    fb::check(status, QStringLiteral("CREATE DATABASE ") + params.database);
    isc_detach_database(status, &db);
    return attach(params);
}

void Session::dropDatabase() {
    fb::rollbackQuietly(h_->tr);
    depth_ = 0;
    ISC_STATUS_ARRAY status;
    isc_drop_database(status, &h_->db);
    fb::check(status, QStringLiteral("DROP DATABASE ") + params_.database);
    h_->db = 0;
}

Session::~Session() {
    ISC_STATUS_ARRAY status;
    fb::rollbackQuietly(h_->tr);
    if (h_->db) isc_detach_database(status, &h_->db);
}

void* Session::currentTransaction() { return h_->tr ? &h_->tr : nullptr; }

int Session::execute(const QString& sql, const Params& params) {
    Statement st(*this, sql);
    st.bind(params);
    return st.execute();
}

QVariant Session::scalar(const QString& sql, const Params& params) {
    auto row = first(sql, params);
    if (!row || row->size() == 0) return {};
    return row->at(0);
}

std::optional<Row> Session::first(const QString& sql, const Params& params) {
    Statement st(*this, sql);
    st.bind(params);
    st.execute();
    if (!st.isSelect()) return st.row().size() ? std::optional<Row>(st.row()) : std::nullopt;
    if (!st.next()) return std::nullopt;
    Row r = st.row();
    st.close();
    return r;
}

std::vector<Row> Session::all(const QString& sql, const Params& params) {
    Statement st(*this, sql);
    st.bind(params);
    st.execute();
    std::vector<Row> rows;
    while (st.next()) rows.push_back(st.row());
    return rows;
}

void Session::beginLevel() {
    if (depth_ == 0) {
        h_->tr = fb::startTransaction(*h_, false, QStringLiteral("START TRANSACTION"));
    } else {
        execute(QStringLiteral("SAVEPOINT SP_%1").arg(depth_));
    }
    ++depth_;
}

void Session::commitLevel() {
    if (depth_ <= 0) throw std::logic_error("commit without a transaction");
    if (depth_ == 1) {
        fb::commit(h_->tr, QStringLiteral("COMMIT"));
        h_->tr = 0;
    } else {
        execute(QStringLiteral("RELEASE SAVEPOINT SP_%1").arg(depth_ - 1));
    }
    --depth_;
}

void Session::rollbackLevel() {
    if (depth_ <= 0) return;
    if (depth_ == 1) {
        ISC_STATUS_ARRAY status;
        isc_rollback_transaction(status, &h_->tr);
        h_->tr = 0;
        --depth_;
        fb::check(status, QStringLiteral("ROLLBACK"));
        return;
    }
    --depth_;
    try {
        ++depth_; // the savepoint statement runs inside the transaction
        execute(QStringLiteral("ROLLBACK TO SAVEPOINT SP_%1").arg(depth_ - 1));
        execute(QStringLiteral("RELEASE SAVEPOINT SP_%1").arg(depth_ - 1));
        --depth_;
    } catch (...) {
        --depth_;
        throw;
    }
}

Transaction::Transaction(Session& session) : session_(session) { session_.beginLevel(); }

Transaction::~Transaction() {
    if (!active_) return;
    try {
        session_.rollbackLevel();
    } catch (...) {
        // A destructor must not throw; the engine rolls back a lost transaction itself.
    }
}

void Transaction::commit() {
    if (!active_) throw std::logic_error("transaction already ended");
    active_ = false;
    try {
        session_.commitLevel();
    } catch (...) {
        try {
            session_.rollbackLevel();
        } catch (...) {
        }
        throw;
    }
}

void Transaction::rollback() {
    if (!active_) return;
    active_ = false;
    session_.rollbackLevel();
}

} // namespace db
