#pragma once
// One fetched row: values by position or by column name (case-insensitive). CHAR columns come back
// without trailing blanks, NULL as an invalid QVariant.

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace db {

class Row {
public:
    Row() = default;
    Row(std::shared_ptr<const QStringList> names, std::vector<QVariant> values)
        : names_(std::move(names)), values_(std::move(values)) {}

    int size() const { return int(values_.size()); }
    const QVariant& at(int i) const { return values_.at(size_t(i)); }
    const QVariant& operator[](int i) const { return at(i); }
    // Throws std::out_of_range when the row has no such column.
    const QVariant& operator[](const QString& column) const;
    bool has(const QString& column) const { return indexOf(column) >= 0; }
    int indexOf(const QString& column) const;
    bool isNull(const QString& column) const { return !(*this)[column].isValid(); }

    QString text(const QString& column) const { return (*this)[column].toString(); }
    double number(const QString& column) const { return (*this)[column].toDouble(); }
    int integer(const QString& column) const { return (*this)[column].toInt(); }

    const QStringList& names() const;
    const std::vector<QVariant>& values() const { return values_; }
    std::vector<QVariant>& values() { return values_; }

private:
    std::shared_ptr<const QStringList> names_;
    std::vector<QVariant> values_;
};

} // namespace db
