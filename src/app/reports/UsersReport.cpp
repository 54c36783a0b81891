#include "app/reports/UsersReport.h"

#include "platform/report/Layouts.h"

namespace app {

report::ReportDefinition usersReport() {
    using namespace report;
    ReportDefinition def;
    def.name = QStringLiteral("usuarios");
    def.title = QStringLiteral("USUARIOS DEL SISTEMA");
    // CLAVE is never selected: a list that goes to paper, files and spreadsheets must not carry the
    // passwords of everyone who can log in.
    def.sql = QStringLiteral(
        "SELECT CODIGO, NOMBRE, ACTIVO, FECHAHORA, FECHAVENCIMIENTO FROM USUARIOS ORDER BY CODIGO");
    const double width = def.contentSize().width();
    def.pageHeader = companyPageHeader({def.title}, width, false);
    const ColumnBands columns = columnBands(
        {
            {QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), 18, {}, Align::Right},
            {QStringLiteral("NOMBRE"), QStringLiteral("NOMBRE"), 62},
            {QStringLiteral("ACTIVO"), QStringLiteral("ACTIVO"), 14, {}, Align::Center},
            {QStringLiteral("FECHAHORA"), QStringLiteral("FECHAHORA"), 34,
             QStringLiteral("dd/mm/yyyy hh:nn")},
            {QStringLiteral("FECHAVENCIMIENTO"), QStringLiteral("FECHAVENCIMIENTO"), 34,
             QStringLiteral("dd/mm/yyyy")},
        },
        width);
    def.columnHeader = columns.header;
    def.detail = columns.detail;
    def.pageFooter.height = 8;
    def.pageFooter.elements = {line(0, width).at(1),
                               pageNumber(width - 40, 40, QStringLiteral("Page ")).right().at(2.5)};
    return def;
}

} // namespace app
