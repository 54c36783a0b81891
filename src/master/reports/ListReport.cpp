#include "master/reports/ListReport.h"

#include "platform/report/ReportData.h"

namespace master {

namespace {

// A bound text is typed by the column it is compared with, so a CHAR(2) key would refuse a range
// bound of three characters as a truncation. Compared as a long VARCHAR, any range a user types
// compares as text does ("ZZZ" is after every two-letter code).
constexpr int kRangeWidth = 250;

QString bound(const ListLayout& list, const char* parameter) {
    const QString marker = QLatin1Char(':') + QLatin1String(parameter);
    return list.numericKey ? marker : QStringLiteral("CAST(%1 AS VARCHAR(%2))").arg(marker).arg(kRangeWidth);
}

} // namespace

report::ReportDefinition listReport(const ListLayout& list) {
    using namespace report;
    ReportDefinition def;
    def.name = list.name;
    def.title = list.titles.last();
    const Parameter::Type keyType = list.numericKey ? Parameter::Type::Integer : Parameter::Type::Text;
    def.parameters = {
        {QStringLiteral("DESDE"), keyType, QStringLiteral("primer código del listado"), list.first},
        {QStringLiteral("HASTA"), keyType, QStringLiteral("último código del listado"), list.last},
        {QStringLiteral("ORDEN"), Parameter::Type::Text, QStringLiteral("orden del listado"),
         QStringLiteral("#")},
    };
    def.sql = QStringLiteral("%1 WHERE %2 >= %3 AND %2 <= %4")
                  .arg(list.from, list.key, bound(list, "DESDE"), bound(list, "HASTA"));
    def.orderings = list.orderings;
    def.orderParameter = QStringLiteral("ORDEN");

    const double width = def.contentSize().width();
    def.pageHeader = companyPageHeader(list.titles, width);

    std::vector<Column> columns;
    for (const ListColumn& c : list.columns)
        columns.push_back({c.title, c.name, c.width, c.mask, c.align});
    ColumnBands bands = columnBands(columns, width);
    // columnBands gives one detail element per column, in order; fixed and worked-out columns take
    // the place of the field it made.
    for (size_t i = 0; i < list.columns.size(); ++i) {
        const ListColumn& c = list.columns[i];
        Element& e = bands.detail.elements[i];
        if (!c.fixed.isEmpty()) {
            e = text(e.x, e.width, c.fixed);
        } else if (c.compute) {
            const Align align = e.align;
            e = computed(e.x, e.width, c.compute, c.mask);
            e.align = align;
        }
    }
    def.columnHeader = bands.header;
    def.detail = bands.detail;

    def.totals = {{QStringLiteral("REGISTROS"), Total::Kind::Count, {}, {}}};
    def.summary.height = 9;
    def.summary.elements = {
        line(0, width).at(1),
        computed(0, 80,
                 [](const BandValues& b) {
                     return QStringLiteral("Total Registros : %1")
                         .arg(b.value(QStringLiteral("REGISTROS")).toLongLong());
                 })
            .strong()
            .at(2.5),
        text(width - 60, 60, QStringLiteral("Fin de Reporte ***")).right().at(2.5),
    };
    return def;
}

} // namespace master
