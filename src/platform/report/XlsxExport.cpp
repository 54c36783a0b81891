#include "platform/report/XlsxExport.h"

#include "platform/numbers/Format.h"
#include "platform/report/FlatLayout.h"
#include "platform/sheet/Worksheet.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace report {

namespace {

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return true;
    default:
        return false;
    }
}

} // namespace

QString XlsxExport::numberFormat(const QString& mask) {
    if (mask.isEmpty() || numbers::isDateMask(mask)) return {};
    const qsizetype point = mask.indexOf(QLatin1Char('.'));
    const QString whole = point < 0 ? mask : mask.left(point);
    const QString fraction = point < 0 ? QString() : mask.mid(point + 1);
    int decimals = 0, required = 0;
    for (const QChar c : fraction) {
        if (c == QLatin1Char('#')) ++decimals;
        if (c == QLatin1Char('0')) required = ++decimals;
    }
    // A sheet shows 0 as "0.00" rather than the printed ".00": a cell must read as a number.
    QString out = whole.contains(QLatin1Char(',')) ? QStringLiteral("#,##0") : QStringLiteral("0");
    if (decimals > 0)
        out += QLatin1Char('.') + QString(required, QLatin1Char('0')) +
               QString(decimals - required, QLatin1Char('#'));
    return out;
}

QString XlsxExport::dateFormat(const QString& mask, bool withTime) {
    QString m = numbers::isDateMask(mask)
                    ? mask.toLower()
                    : (withTime ? QStringLiteral("dd/mm/yyyy hh:nn:ss") : QStringLiteral("dd/mm/yyyy"));
    m.replace(QLatin1String("nn"), QLatin1String("mm"));
    // Month names in Spanish whatever the language of the spreadsheet program.
    if (m.contains(QLatin1String("mmm"))) m.prepend(QLatin1String("[$-C0A]"));
    return m;
}

void XlsxExport::fill(const ReportData& data, sheet::Worksheet& sheet) {
    const FlatLayout flat(data);
    const ReportDefinition& def = data.definition();
    // The detail band's columns are the sheet's columns, so the data lies in adjacent cells that can
    // be sorted and summed. Every other element goes to the nearest of them: by its right edge when
    // it is right-aligned (totals under their amounts), else by its left edge.
    std::vector<const Element*> columns;
    for (const Element& e : def.detail.elements)
        if (e.kind != Element::Kind::Line && e.kind != Element::Kind::Picture) columns.push_back(&e);
    if (columns.empty())
        for (const Element* e : flat.elements())
            if (e->kind != Element::Kind::Line && e->kind != Element::Kind::Picture) columns.push_back(e);
    std::stable_sort(columns.begin(), columns.end(),
                     [](const Element* a, const Element* b) { return a->x < b->x; });
    // Lines of one detail band stacked at the same left edge share their column.
    columns.erase(
        std::unique(columns.begin(), columns.end(),
                    [](const Element* a, const Element* b) { return std::fabs(a->x - b->x) < 0.25; }),
        columns.end());
    auto columnOf = [&](const Element& e) {
        int best = 0;
        double distance = 1e300;
        for (int i = 0; i < int(columns.size()); ++i) {
            const double d =
                e.align == Align::Right
                    ? std::fabs((e.x + e.width) - (columns[size_t(i)]->x + columns[size_t(i)]->width))
                    : std::fabs(e.x - columns[size_t(i)]->x);
            if (d < distance - 1e-9) distance = d, best = i;
        }
        return best + 1;
    };
    for (int i = 0; i < int(columns.size()); ++i) {
        double width = columns[size_t(i)]->width / 2.0 + 1;
        for (const Element& e : def.columnHeader.elements)
            if (e.kind == Element::Kind::Text && columnOf(e) == i + 1)
                width = std::max(width, e.text.size() * 1.1 + 1);
        sheet.setColumnWidth(i + 1, width);
    }

    int row = 0;
    flat.forEach([&](const std::vector<FlatLayout::Line>& lines, int values) {
        for (const auto& line : lines) {
            std::map<int, QString> texts; // cells that two elements share become text
            bool wrote = false;
            for (const Element* e : line) {
                if (e->kind == Element::Kind::Line || e->kind == Element::Kind::Picture) continue;
                const int column = columnOf(*e);
                QVariant value;
                if (e->kind == Element::Kind::Field)
                    value = data.value(values, e->name);
                else if (e->kind == Element::Kind::Computed && e->compute)
                    value = e->compute(BandValues(data, values));
                const QString text = data.text(*e, values, 1);
                if (text.isEmpty() && !isNumber(value)) continue; // zero under "###,###." is still a number
                if (!wrote) ++row;
                wrote = true;
                if (texts.count(column)) {
                    texts[column] += QLatin1Char(' ') + text;
                    sheet.setCell(row, column, texts[column]);
                } else if (isNumber(value)) {
                    sheet.setCell(row, column, value.toDouble(), numberFormat(e->mask));
                    texts[column] = text;
                } else if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
                    sheet.setCell(row, column, value,
                                  dateFormat(e->mask, value.typeId() == QMetaType::QDateTime));
                    texts[column] = text;
                } else {
                    if (e->bold)
                        sheet.setBold(row, column, text);
                    else
                        sheet.setCell(row, column, text);
                    texts[column] = text;
                }
            }
        }
    });
}

} // namespace report
