#include "platform/sheet/Worksheet.h"

#include "platform/sheet/DateSerial.h"
#include "platform/sheet/Workbook.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace sheet {

namespace {

constexpr int kMaxColumn = 16384;
constexpr int kMaxTextLength = 32767;
const QString kDateFormat = QStringLiteral("dd/mm/yyyy");
const QString kTimeFormat = QStringLiteral("hh:mm:ss");

bool isNumber(int typeId) {
    switch (typeId) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::SChar:
    case QMetaType::UChar:
        return true;
    default:
        return false;
    }
}

// The file format writes characters XML cannot carry as _xHHHH_, so a text that contains such a
// sequence literally has its underscore escaped (_x005F_) to read back as typed. A cell holds at most
// 32,767 characters; a longer text would make the whole file fail.
QString cellText(QString text) {
    static const QRegularExpression escapeLike(QStringLiteral("_(x[0-9A-Fa-f]{4}_)"));
    if (text.contains(u"_x")) text.replace(escapeLike, QStringLiteral("_x005F_\\1"));
    if (text.size() > kMaxTextLength) {
        qsizetype length = kMaxTextLength;
        if (text.at(length - 1).isHighSurrogate()) --length;
        text.truncate(length);
    }
    return text;
}

} // namespace

Worksheet::Worksheet(SheetKey, Workbook& book, QString name, Worksheet* origin, int part)
    : book_(book), name_(std::move(name)), origin_(origin ? origin : this), part_(part) {
    if (!origin) parts_.push_back(this);
}

Worksheet::~Worksheet() = default;

void Worksheet::setCell(int row, int column, const QVariant& value, const QString& numberFormat) {
    write(row, column, value, numberFormat, false);
}

void Worksheet::setBold(int row, int column, const QVariant& value) {
    write(row, column, value, {}, true);
}

void Worksheet::setColumnWidth(int column, double width) {
    if (column < 1 || column > kMaxColumn)
        throw SheetError(
            QStringLiteral("Columna fuera de la hoja \"%1\": %2").arg(name_).arg(column).toStdString());
    origin_->columnWidths_[column] = std::clamp(width, 0.0, 255.0);
}

int Worksheet::lastRow() const {
    const qint64 limit = book_.rowLimit();
    const auto& parts = origin_->parts_;
    for (auto k = qint64(parts.size()) - 1; k >= 0; --k) {
        const int last = parts[size_t(k)]->cells_.lastRow();
        if (last > 0) return int(std::max<qint64>(0, k * limit + last - part_ * limit));
    }
    return 0;
}

std::pair<Worksheet*, int> Worksheet::locate(int row, int column) {
    if (row < 1 || column < 1 || column > kMaxColumn)
        throw SheetError(QStringLiteral("Celda fuera de la hoja \"%1\": fila %2, columna %3")
                             .arg(name_)
                             .arg(row)
                             .arg(column)
                             .toStdString());
    const qint64 limit = book_.rowLimit();
    const qint64 logical = part_ * limit + row;
    const qint64 k = (logical - 1) / limit;
    Worksheet& target = book_.part(*origin_, int(k));
    return {&target, int(logical - k * limit)};
}

void Worksheet::write(int row, int column, const QVariant& value, const QString& numberFormat, bool bold) {
    auto [target, at] = locate(row, column);
    SheetCells& cells = target->cells_;
    auto format = [&](const QString& fallback = {}) {
        return book_.formatId(numberFormat.isEmpty() ? fallback : numberFormat, bold);
    };
    auto blank = [&] { cells.setBlank(at, column, format()); };

    if (!value.isValid() || value.isNull()) return blank();
    const int type = value.typeId();
    if (type == QMetaType::Bool) return cells.setBoolean(at, column, value.toBool(), format());
    if (isNumber(type)) {
        const double number = value.toDouble();
        // NaN and infinities have no spreadsheet form; an empty cell is the honest rendering.
        if (!std::isfinite(number)) return blank();
        return cells.setNumber(at, column, number, format());
    }
    if (type == QMetaType::QDate || type == QMetaType::QDateTime) {
        const auto serial =
            type == QMetaType::QDate ? dateToSerial(value.toDate()) : dateTimeToSerial(value.toDateTime());
        if (serial) return cells.setNumber(at, column, *serial, format(kDateFormat));
        // Before 1900 a date has no serial: it is still shown, as text.
        const QDate date = value.toDate();
        if (!date.isValid()) return blank();
        return cells.setText(at, column, date.toString(QStringLiteral("dd/MM/yyyy")), format());
    }
    if (type == QMetaType::QTime) {
        if (!value.toTime().isValid()) return blank();
        return cells.setNumber(at, column, timeToSerial(value.toTime()), format(kTimeFormat));
    }
    const QString text = value.toString();
    if (text.isEmpty()) return blank();
    cells.setText(at, column, cellText(text), format());
}

} // namespace sheet
