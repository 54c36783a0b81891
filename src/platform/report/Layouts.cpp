#include "platform/report/Layouts.h"

namespace report {

Band companyPageHeader(const QStringList& titles, double width, bool withPageNumber) {
    Band b;
    b.elements.push_back(field(0, width - 60, QStringLiteral("REGISTRO.NOMBRE")).strong().size(10).tall(5));
    // Labels end next to their values, which end at the right margin.
    b.elements.push_back(text(width - 42, 20, QStringLiteral("Impreso :")).right());
    b.elements.push_back(printDate(width - 20, 20).right());
    b.elements.push_back(text(0, 10, QStringLiteral("Nit :")).at(5));
    b.elements.push_back(field(8, 40, QStringLiteral("REGISTRO.NIT"), QStringLiteral("###,###.")).at(5));
    if (withPageNumber) {
        b.elements.push_back(text(width - 42, 20, QStringLiteral("Pagina :")).right().at(5));
        b.elements.push_back(pageNumber(width - 20, 20).right().at(5));
    }
    double y = 11;
    for (const QString& t : titles) {
        b.elements.push_back(text(0, width, t).centered().strong().size(10).tall(5).at(y));
        y += 5.5;
    }
    b.height = y + 2;
    return b;
}

ColumnBands columnBands(const std::vector<Column>& columns, double ruleWidth, double gap, double rowHeight) {
    ColumnBands out;
    double x = 0;
    for (const Column& c : columns) {
        Element title = text(x, c.width, c.title).strong();
        title.align = c.align;
        out.header.elements.push_back(title);
        Element value = field(x, c.width, c.name, c.mask);
        value.align = c.align;
        out.detail.elements.push_back(value);
        x += c.width + gap;
    }
    out.header.elements.push_back(line(0, ruleWidth > 0 ? ruleWidth : x - gap).at(rowHeight + 0.5));
    out.header.height = rowHeight + 2;
    out.detail.height = rowHeight;
    return out;
}

} // namespace report
