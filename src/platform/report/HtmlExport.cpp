#include "platform/report/HtmlExport.h"

#include "platform/report/FlatLayout.h"

#include <QIODevice>
#include <algorithm>
#include <cmath>
#include <set>

namespace report {

namespace {

long edge(double mm) {
    return std::lround(mm * 2);
} // half millimetres

struct Cell {
    int start;
    int end;
    QString cls;
    QString html;
};

} // namespace

QString HtmlExport::toString(const ReportData& data) {
    const FlatLayout flat(data);
    std::set<long> edgeSet = {0};
    for (const Element* e : flat.elements()) {
        if (e->kind == Element::Kind::Picture) continue;
        edgeSet.insert(edge(e->x));
        edgeSet.insert(edge(e->x + e->width));
    }
    const std::vector<long> edges(edgeSet.begin(), edgeSet.end());
    const int columnCount = std::max(1, int(edges.size()) - 1);
    auto columnOf = [&](double mm) {
        return int(std::lower_bound(edges.begin(), edges.end(), edge(mm)) - edges.begin());
    };

    QString out;
    out += QStringLiteral("<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>");
    out += data.definition().title.toHtmlEscaped();
    out += QStringLiteral(
        "</title>\n<style>\ntable { border-collapse: collapse; font-family: sans-serif; "
        "font-size: 9pt; }\ntd { padding: 1px 4px; white-space: nowrap; }\n"
        "td.r { text-align: right; }\ntd.c { text-align: center; }\n"
        "hr { border: 0; border-top: 1px solid black; margin: 0; }\n</style>\n</head>\n<body>\n<table>\n");
    flat.forEach([&](const std::vector<FlatLayout::Line>& lines, int values) {
        for (const auto& line : lines) {
            std::vector<Cell> cells;
            for (const Element* e : line) {
                if (e->kind == Element::Kind::Picture) continue;
                QString html;
                if (e->kind == Element::Kind::Line) {
                    html = QStringLiteral("<hr>");
                } else {
                    const QString text = data.text(*e, values, 1);
                    if (text.isEmpty()) continue;
                    html = e->bold ? QStringLiteral("<b>%1</b>").arg(text.toHtmlEscaped())
                                   : text.toHtmlEscaped();
                }
                const QString cls = e->align == Align::Right    ? QStringLiteral(" class=\"r\"")
                                    : e->align == Align::Center ? QStringLiteral(" class=\"c\"")
                                                                : QString();
                int start = columnOf(e->x);
                int end = std::max(columnOf(e->x + e->width), start + 1);
                if (!cells.empty() && start < cells.back().end) {
                    // Overlapping elements share the cell of the first rather than losing text.
                    cells.back().html += QLatin1Char(' ') + html;
                    continue;
                }
                end = std::min(end, columnCount);
                start = std::min(start, end - 1);
                cells.push_back({start, end, cls, html});
            }
            if (cells.empty()) continue;
            out += QStringLiteral("<tr>");
            int cursor = 0;
            for (const Cell& c : cells) {
                if (c.start > cursor) out += QStringLiteral("<td colspan=\"%1\"></td>").arg(c.start - cursor);
                out += QStringLiteral("<td colspan=\"%1\"%2>%3</td>").arg(c.end - c.start).arg(c.cls, c.html);
                cursor = c.end;
            }
            if (cursor < columnCount)
                out += QStringLiteral("<td colspan=\"%1\"></td>").arg(columnCount - cursor);
            out += QStringLiteral("</tr>\n");
        }
    });
    out += QStringLiteral("</table>\n</body>\n</html>\n");
    return out;
}

void HtmlExport::write(const ReportData& data, QIODevice& device) {
    device.write(toString(data).toUtf8());
}

} // namespace report
