#pragma once
// Read-only table model of a dataset's rows for grids. Rows come in keyset pages as the view scrolls,
// never the whole table at once; editing goes through the Dataset, which the model follows.

#include "platform/db/Dataset.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <QStringList>
#include <memory>
#include <vector>

namespace db {

class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // Shows `columns` (empty: every column the dataset reads) of `dataset`'s rows, and reloads after
    // the dataset posts or deletes and whenever it re-opens. Moving the dataset fetches nothing.
    explicit DatasetModel(Dataset& dataset, const QStringList& columns = {}, QObject* parent = nullptr);
    // Over a dataset of its own, opened at once; the definition's columns are the grid's columns.
    DatasetModel(Session& session, const DatasetDefinition& definition, QObject* parent = nullptr);
    ~DatasetModel() override;

    Dataset* dataset() const { return dataset_; }
    const QStringList& columnNames() const { return columns_; }
    // Captions in column order; a missing or empty one shows the column name.
    void setHeaderLabels(const QStringList& labels);
    // Display masks by column (numbers::formatValue); a column without one shows its plain value,
    // numbers without exponent and dates as "dd/mm/yyyy".
    void setColumnMasks(const QStringList& masks);
    void setPageSize(int rows) { pageSize_ = rows > 0 ? rows : 1; }
    int pageSize() const { return pageSize_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The grid row holding the key, fetching pages up to it when needed; -1 when the dataset has no
    // such row.
    int rowOfKey(const QVariantList& key);
    QVariantList keyAt(int row) const;
    const Row& rowAt(int row) const { return rows_.at(size_t(row)); }

    // Drops the fetched rows and reads the first page again.
    void reload();

  signals:
    // A page could not be read; the grid shows what it had.
    void fetchFailed(const QString& engineText);

  private:
    void follow(Dataset& dataset, const QStringList& columns);
    std::vector<Row> nextPage();
    int find(const QVariantList& key, size_t from) const;

    std::unique_ptr<Dataset> own_;
    QPointer<Dataset> dataset_;
    QStringList columns_;
    QStringList labels_;
    QStringList masks_;
    std::vector<Row> rows_;
    bool atEnd_ = true;
    bool fetching_ = false;
    int pageSize_ = 200;
};

} // namespace db
