#pragma once
// The browse-and-edit view of one table (or of a read-only query) that windows bind their fields,
// navigator and key search to: ordered keyset navigation, exact and nearest search, filter,
// master-detail link and insert/edit/post/cancel/delete, without ever loading the whole table.

#include "platform/db/Params.h"
#include "platform/db/Row.h"
#include "platform/db/Session.h"

#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace db {

class Dataset;

// What a dataset shows. Every name is checked against the table's (or query's) real columns when the
// dataset is built, so only identifiers the program declares ever reach the SQL text. Windows declare
// it with designated initializers; the "{}" on every member lets them leave out what they do not use
// without -Wmissing-field-initializers.
struct DatasetDefinition {
    QString table{};
    // Instead of a table: a SELECT the program declares. The dataset is then read only and `key`
    // must name columns of the query that identify a row.
    QString query{};
    // Empty: the table's primary key.
    QStringList key{};
    // Empty: every column of the table in field position order.
    QStringList columns{};
    // Empty: the key. Otherwise these columns, ascending, with the key appended so that the order is
    // total. NULL sorts before any value, as Firebird sorts ascending.
    QStringList order{};
    // An SQL condition over the columns with "?" or ":NAME" markers; values are always bound.
    QString filter{};
    Params filterParams{};
    // Master-detail: linkColumns of this dataset equal masterColumns (default: the same names) of the
    // master's current row, and the dataset re-opens whenever those values change.
    QPointer<Dataset> master{};
    QStringList linkColumns{};
    QStringList masterColumns{};
};

struct DatasetColumn {
    QString name{};
    QMetaType::Type type = QMetaType::UnknownType; // what values of the column come back as
    int length = 0;                                // characters, for text columns
    bool nullable = true;
    bool blob = false;
    bool computed = false; // COMPUTED BY: read only
};

class Dataset : public QObject {
    Q_OBJECT
  public:
    enum class State { Browse, Edit, Insert };

    // Reads the table's columns and key; throws DbError, or std::invalid_argument for a name that
    // the table does not have. The dataset starts closed.
    Dataset(Session& session, DatasetDefinition definition, QObject* parent = nullptr);
    ~Dataset() override;

    Session& session() const { return session_; }
    const QString& table() const;
    bool isReadOnly() const;
    const std::vector<DatasetColumn>& columns() const;
    const DatasetColumn& column(const QString& name) const; // throws std::out_of_range
    const QStringList& keyColumns() const;
    // The ordering in force, key tiebreaker included.
    const QStringList& orderColumns() const;

    // Opening positions on the first row.
    void open();
    void close();
    bool isOpen() const { return open_; }
    // Both re-open the dataset; a new order keeps the current row.
    void setFilter(const QString& condition, const Params& params = {});
    void setOrder(const QStringList& columns);

    // Navigation posts pending changes first (or cancels when nothing was typed). Each returns
    // whether the dataset stands on a row that the move reached.
    bool first();
    bool last();
    bool next();
    bool prior();
    bool isBof() const { return bof_; }
    bool isEof() const { return eof_; }
    bool isEmpty() const { return !hasRow_ && state_ != State::Insert; }
    // The current row with whatever has been typed into it.
    const Row& current() const { return buffer_; }
    int recordCount() const;

    // First row, in order, whose leading ordering columns equal `values`; the position does not
    // change when there is none. Text that cannot be a value of a numeric column matches nothing.
    bool locateExact(const QVariantList& values);
    // The same over any columns, e.g. the key while the order is by name.
    bool locateExact(const QStringList& columns, const QVariantList& values);
    // First row whose leading ordering columns are equal to or greater than `values`; when every row
    // is smaller, the last row (and false).
    bool locateNearest(const QVariantList& values);
    // Re-reads the current row by its key; when another workstation removed it, the nearest row.
    void refresh();

    State state() const { return state_; }
    // On an empty dataset, edit() inserts.
    void edit();
    void insert();
    // Fills a new row after the link columns are set, e.g. with defaults from the configuration.
    void setDefaults(std::function<void(Dataset&)> fill) { defaults_ = std::move(fill); }
    // An empty string stored into a non-text column stores NULL, as a cleared field means.
    void setValue(const QString& column, const QVariant& value);
    QVariant value(const QString& column) const;
    bool isModified() const { return !assigned_.isEmpty(); }
    // Writes the row. On failure throws DbError and stays in Edit/Insert with the typed values.
    void post();
    void cancel();
    // Deletes the current row (an insert is just cancelled) and moves to the next row, or the prior.
    void remove();

    // For grids: up to `limit` rows after `after` (from the start when null) in this dataset's order,
    // filter and link, holding `columns` (empty: all) followed by any ordering column they lack.
    // The current row does not move.
    std::vector<Row> readRows(const QStringList& columns, const Row* after, int limit) const;
    // The row of a key within filter and link, holding the ordering columns.
    std::optional<Row> readKey(const QVariantList& key) const;
    QVariantList keyValues(const Row& row) const;

  signals:
    void currentChanged();
    void stateChanged();
    void fieldChanged(const QString& column);
    // Rows were written or deleted through this dataset.
    void dataChanged();
    // The set of rows was replaced: opened, closed, filtered, re-ordered or following its master.
    void reopened();

  private:
    struct Impl;
    enum class Seek { After, AtOrAfter, Before };

    void checkBrowseMode();
    void setState(State s);
    void show(std::optional<Row> row);
    void reopen();
    void masterMoved();
    std::optional<Row> readOne(const QString& extra, const QVariantList& extraBinds, bool descending) const;
    std::optional<Row> seek(const QVariantList& values, Seek how, const QStringList& placeholders = {}) const;
    std::optional<Row> byKey(const QVariantList& key, bool withinDataset) const;
    void positionNear(const Row& gone);

    Session& session_;
    std::unique_ptr<Impl> d_;
    std::vector<QPointer<Dataset>> details_;
    std::function<void(Dataset&)> defaults_;

    bool open_ = false;
    State state_ = State::Browse;
    bool hasRow_ = false;
    bool bof_ = true;
    bool eof_ = true;
    Row original_; // the row as read
    Row buffer_;   // the row as typed
    QStringList assigned_;
    std::optional<Row> beforeInsert_;
};

} // namespace db
