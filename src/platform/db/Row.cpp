#include "platform/db/Row.h"

#include <stdexcept>

namespace db {

int Row::indexOf(const QString& column) const {
    if (!names_) return -1;
    for (int i = 0; i < names_->size(); ++i)
        if (names_->at(i).compare(column, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const QVariant& Row::operator[](const QString& column) const {
    const int i = indexOf(column);
    if (i < 0) throw std::out_of_range("no column " + column.toStdString());
    return values_.at(size_t(i));
}

const QStringList& Row::names() const {
    static const QStringList empty;
    return names_ ? *names_ : empty;
}

} // namespace db
