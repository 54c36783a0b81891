#include "app/reports/MenuReport.h"

#include "app/SystemRows.h"
#include "platform/report/Layouts.h"
#include "platform/report/ReportData.h"

namespace app {

namespace {

constexpr int kPerLine = 50;
constexpr int kPerGroup = 10;

// One printed line of a permission string: the positions it covers, then its characters in tens, so
// an administrator can find the character of a menu row by counting groups rather than 1s and 0s.
QVariant permissionLine(const report::BandValues& band, int line) {
    const QString options = band.text(QStringLiteral("OPCIONES"));
    const int from = line * kPerLine;
    if (from >= options.size()) return {};
    const QString slice = options.mid(from, kPerLine);
    QStringList tens;
    for (int i = 0; i < slice.size(); i += kPerGroup)
        tens << slice.mid(i, kPerGroup);
    return QStringLiteral("%1-%2  %3")
        .arg(from + 1, 3, 10, QLatin1Char('0'))
        .arg(from + int(slice.size()), 3, 10, QLatin1Char('0'))
        .arg(tens.join(QLatin1Char(' ')));
}

} // namespace

report::ReportDefinition menuReport() {
    using namespace report;
    ReportDefinition def;
    def.name = QStringLiteral("menu");
    def.title = QStringLiteral("MENU DEL SISTEMA");
    def.sql = QStringLiteral("SELECT CODIGOUSUARIO, OPCIONES FROM MENU ORDER BY CODIGOUSUARIO");
    const double width = def.contentSize().width();
    def.pageHeader = companyPageHeader({def.title}, width, false);

    constexpr double kOptionsX = 24;
    def.columnHeader.height = 6.5;
    def.columnHeader.elements = {text(0, 18, QStringLiteral("CODIGO")).strong().right(),
                                 text(kOptionsX, 40, QStringLiteral("OPCIONES")).strong(),
                                 line(0, width).at(5)};

    // 200 characters do not fit one printed line, so the string prints on four lines of fifty.
    constexpr int kLines = (SystemRows::kPermissionLength + kPerLine - 1) / kPerLine;
    def.detail.height = kLines * 4 + 2;
    def.detail.elements.push_back(field(0, 18, QStringLiteral("CODIGOUSUARIO")).right());
    for (int l = 0; l < kLines; ++l)
        def.detail.elements.push_back(
            computed(kOptionsX, width - kOptionsX, [l](const BandValues& b) { return permissionLine(b, l); })
                .mono()
                .tall(4)
                .at(l * 4));

    def.pageFooter.height = 8;
    def.pageFooter.elements = {line(0, width).at(1),
                               pageNumber(width - 40, 40, QStringLiteral("Page ")).right().at(2.5)};
    return def;
}

} // namespace app
