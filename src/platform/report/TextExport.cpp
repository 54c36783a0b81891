#include "platform/report/TextExport.h"

#include "platform/report/FlatLayout.h"

#include <QIODevice>
#include <cmath>

namespace report {

namespace {

int columns(double mm) {
    return int(std::lround(mm / TextExport::kMmPerCharacter));
}

// One line of text from the elements of one band line. Null when nothing on it prints.
QString lineText(const ReportData& data, const FlatLayout::Line& line, int values) {
    QString out;
    bool printed = false;
    for (const Element* e : line) {
        if (e->kind == Element::Kind::Picture) continue;
        const int column = columns(e->x);
        const int width = std::max(1, columns(e->width));
        const QString text =
            e->kind == Element::Kind::Line ? QString(width, QLatin1Char('-')) : data.text(*e, values, 1);
        if (text.isEmpty()) continue;
        printed = true;
        int start = column;
        if (e->align == Align::Right)
            start = column + width - int(text.size());
        else if (e->align == Align::Center)
            start = column + (width - int(text.size())) / 2;
        start = std::max(start, 0);
        // A text that does not fit its column pushes what follows rather than being cut: a golden
        // file or a text export must never lose a digit.
        if (out.size() > start) {
            if (out.mid(start).trimmed().isEmpty())
                out.truncate(start);
            else
                start = int(out.size()) + 1;
        }
        // Two texts never touch: a label that fills its column still reads apart from its value.
        if (start > 0 && out.size() == start && out.back() != QLatin1Char(' ')) ++start;
        out = out.leftJustified(start, QLatin1Char(' '));
        out += text;
    }
    if (!printed) return {};
    while (out.endsWith(QLatin1Char(' ')))
        out.chop(1);
    return out;
}

} // namespace

QString TextExport::toString(const ReportData& data) {
    QString out;
    FlatLayout(data).forEach([&](const std::vector<FlatLayout::Line>& lines, int values) {
        for (const auto& line : lines) {
            const QString text = lineText(data, line, values);
            if (text.isNull()) continue;
            out += text;
            out += QLatin1Char('\n');
        }
    });
    return out;
}

void TextExport::write(const ReportData& data, QIODevice& device) {
    device.write(toString(data).toUtf8());
}

} // namespace report
