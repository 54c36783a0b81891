#include "platform/db/DatasetModel.h"

#include "platform/numbers/Format.h"

#include "platform/db/DbError.h"

namespace db {

DatasetModel::DatasetModel(Dataset& dataset, const QStringList& columns, QObject* parent)
    : QAbstractTableModel(parent) {
    follow(dataset, columns);
}

DatasetModel::DatasetModel(Session& session, const DatasetDefinition& definition, QObject* parent)
    : QAbstractTableModel(parent), own_(std::make_unique<Dataset>(session, definition)) {
    own_->open();
    follow(*own_, definition.columns);
}

DatasetModel::~DatasetModel() {
    // A dataset of our own dies after our rows; its last signals must not reach a half-gone model.
    if (dataset_) disconnect(dataset_, nullptr, this, nullptr);
}

void DatasetModel::follow(Dataset& dataset, const QStringList& columns) {
    dataset_ = &dataset;
    if (columns.isEmpty()) {
        for (const DatasetColumn& c : dataset.columns())
            columns_ << c.name;
    } else {
        for (const QString& n : columns)
            columns_ << dataset.column(n).name;
    }
    connect(&dataset, &Dataset::dataChanged, this, &DatasetModel::reload);
    connect(&dataset, &Dataset::reopened, this, &DatasetModel::reload);
    connect(&dataset, &QObject::destroyed, this, &DatasetModel::reload);
    reload();
}

void DatasetModel::setHeaderLabels(const QStringList& labels) {
    labels_ = labels;
    if (!columns_.isEmpty()) emit headerDataChanged(Qt::Horizontal, 0, int(columns_.size()) - 1);
}

std::vector<Row> DatasetModel::nextPage() {
    try {
        auto page = dataset_->readRows(columns_, rows_.empty() ? nullptr : &rows_.back(), pageSize_);
        if (int(page.size()) < pageSize_) atEnd_ = true;
        return page;
    } catch (const DbError& e) {
        // Called from the view's scrolling, where an exception has nowhere to go.
        atEnd_ = true;
        emit fetchFailed(e.engineText());
        return {};
    }
}

void DatasetModel::reload() {
    fetching_ = true;
    beginResetModel();
    rows_.clear();
    atEnd_ = !(dataset_ && dataset_->isOpen());
    // The first page comes at once: a grid shows it without waiting to be scrolled.
    if (!atEnd_) rows_ = nextPage();
    endResetModel();
    fetching_ = false;
}

bool DatasetModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && !atEnd_;
}

void DatasetModel::fetchMore(const QModelIndex& parent) {
    // Whoever listens to an insertion or a reset may ask for more while it is under way (item model
    // testers do); the next page waits until listeners have seen this change complete.
    if (parent.isValid() || atEnd_ || !dataset_ || fetching_) return;
    fetching_ = true;
    auto page = nextPage();
    if (!page.empty()) {
        const int first = int(rows_.size());
        beginInsertRows({}, first, first + int(page.size()) - 1);
        rows_.insert(rows_.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
        endInsertRows();
    }
    fetching_ = false;
}

int DatasetModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int DatasetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(columns_.size());
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= int(rows_.size()) || index.column() >= int(columns_.size()))
        return {};
    const QVariant& v = rows_[size_t(index.row())].at(index.column());
    switch (role) {
    case Qt::DisplayRole:
        // A picture has no text to show in a cell.
        if (v.typeId() == QMetaType::QByteArray || v.isNull()) return QVariant();
        return numbers::formatValue(v, masks_.value(index.column()));
    case Qt::EditRole:
        return v;
    case Qt::TextAlignmentRole: {
        const int t = v.typeId();
        if (t == QMetaType::Double || t == QMetaType::Int || t == QMetaType::LongLong)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    }
    default:
        return {};
    }
}

void DatasetModel::setColumnMasks(const QStringList& masks) {
    masks_ = masks;
    if (!rows_.empty()) emit dataChanged(index(0, 0), index(int(rows_.size()) - 1, columnCount() - 1));
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columns_.size()) {
        const QString label = labels_.value(section);
        return label.isEmpty() ? columns_[section] : label;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

QVariantList DatasetModel::keyAt(int row) const {
    return dataset_->keyValues(rows_.at(size_t(row)));
}

int DatasetModel::find(const QVariantList& key, size_t from) const {
    const QStringList& cols = dataset_->keyColumns();
    for (size_t r = from; r < rows_.size(); ++r) {
        bool same = true;
        for (int i = 0; i < cols.size() && same; ++i)
            same = rows_[r][cols[i]] == key[i];
        if (same) return int(r);
    }
    return -1;
}

int DatasetModel::rowOfKey(const QVariantList& key) {
    if (!dataset_ || key.size() != dataset_->keyColumns().size()) return -1;
    int row = find(key, 0);
    if (row >= 0 || atEnd_) return row;
    // Make sure the row is there before paging towards it, and compare with the values as stored
    // (the caller may hold "7" for the number 7).
    const auto target = dataset_->readKey(key);
    if (!target) return -1;
    const QVariantList stored = dataset_->keyValues(*target);
    row = find(stored, 0);
    while (row < 0 && !atEnd_) {
        const size_t from = rows_.size();
        fetchMore({});
        row = find(stored, from);
    }
    return row;
}

} // namespace db
