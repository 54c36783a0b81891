#include "platform/report/SalesFixture.h"

#include "platform/report/Layouts.h"
#include "platform/report/ReportData.h"

#include <QDate>

namespace test {

SalesFixture::SalesFixture() {
    auto& s = db.session();
    s.execute(QStringLiteral("CREATE TABLE VENTAS (ZONA VARCHAR(10), VENDEDOR VARCHAR(20), FACTURA INTEGER, "
                             "FECHA DATE, CLIENTE VARCHAR(40), VALOR DOUBLE PRECISION)"));
    s.execute(QStringLiteral("CREATE TABLE METAS (VENDEDOR VARCHAR(20), META DOUBLE PRECISION)"));
    s.execute(QStringLiteral("UPDATE REGISTRO SET NOMBRE = 'DISTRIBUIDORA LA FIXTURA', NIT = 800123456"));
    if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM REGISTRO")).toInt() == 0)
        s.execute(QStringLiteral(
            "INSERT INTO REGISTRO (NIT, NOMBRE) VALUES (800123456, 'DISTRIBUIDORA LA FIXTURA')"));
    const QDate day(2024, 1, 5);
    addSale(QStringLiteral("NORTE"), QStringLiteral("ANA"), 1, day, QStringLiteral("Ferreteria El Clavo"),
            100.50);
    addSale(QStringLiteral("NORTE"), QStringLiteral("ANA"), 2, day.addDays(1),
            QStringLiteral("Almacen Central"), 200.25);
    addSale(QStringLiteral("NORTE"), QStringLiteral("ANA"), 3, day.addDays(2),
            QStringLiteral("Obra Calle 80"), 1000);
    for (int i = 0; i < 60; ++i)
        addSale(QStringLiteral("NORTE"), QStringLiteral("LUIS"), 100 + i, day.addDays(i % 20),
                QStringLiteral("Cliente %1").arg(i + 1, 2, 10, QLatin1Char('0')), 10.10);
    addSale(QStringLiteral("SUR"), QStringLiteral("EVA"), 500, day, QStringLiteral("Devolucion"), -50);
    addSale(QStringLiteral("SUR"), QStringLiteral("EVA"), 501, day.addDays(3),
            QStringLiteral("Hospital Sur & Cia"), 1234.50);
    s.execute(QStringLiteral("INSERT INTO METAS (VENDEDOR, META) VALUES ('ANA', 2000)"));
    s.execute(QStringLiteral("INSERT INTO METAS (VENDEDOR, META) VALUES ('LUIS', 500)"));
}

void SalesFixture::addSale(const QString& zone, const QString& seller, int invoice, const QDate& date,
                           const QString& customer, double value) {
    db.session().execute(
        QStringLiteral(
            "INSERT INTO VENTAS (ZONA, VENDEDOR, FACTURA, FECHA, CLIENTE, VALOR) VALUES (?, ?, ?, ?, ?, ?)"),
        {zone, seller, invoice, date, customer, value});
}

std::shared_ptr<const report::ReportDefinition> SalesFixture::definition() {
    using namespace report;
    ReportDefinition def;
    def.name = QStringLiteral("ventas");
    def.title = QStringLiteral("VENTAS POR ZONA Y VENDEDOR");
    def.parameters = {{QStringLiteral("DESDE"), Parameter::Type::Date, QStringLiteral("primera fecha")}};
    def.sql = QStringLiteral("SELECT ZONA, VENDEDOR, FACTURA, FECHA, CLIENTE, VALOR FROM VENTAS "
                             "WHERE FECHA >= :DESDE ORDER BY ZONA, VENDEDOR, FACTURA");
    def.lookups = {
        {QStringLiteral("SELECT META FROM METAS WHERE VENDEDOR = :VENDEDOR"), QStringLiteral("vendedor")}};
    const double width = def.contentSize().width();
    def.pageHeader = companyPageHeader({QStringLiteral("SUBSISTEMA DE MATERALES"), def.title}, width);
    const ColumnBands columns = columnBands(
        {
            {QStringLiteral("Factura"), QStringLiteral("FACTURA"), 18, {}, Align::Right},
            {QStringLiteral("Fecha"), QStringLiteral("FECHA"), 24, QStringLiteral("dd mmm yyyy")},
            {QStringLiteral("Cliente"), QStringLiteral("CLIENTE"), 50},
            {QStringLiteral("Valor"), QStringLiteral("VALOR"), 28, QStringLiteral("###,###.00"),
             Align::Right},
            {QStringLiteral("Acumulado"), QStringLiteral("ACUMULADO"), 28, QStringLiteral("###,###.00"),
             Align::Right},
            {QStringLiteral("Pendiente"), QStringLiteral("PENDIENTE"), 28, QStringLiteral("###,###.00"),
             Align::Right},
        },
        width);
    def.columnHeader = columns.header;
    def.detail = columns.detail;

    // Totals sit under the "Valor" column (101 to 129 mm), counts under "Pendiente" (163 to 191 mm).
    Group zone;
    zone.name = QStringLiteral("zona");
    zone.columns = {QStringLiteral("ZONA")};
    // The zone's count and total in its header: known before the zone prints, since totals come from
    // the data pass.
    zone.header = {
        6,
        {text(0, 12, QStringLiteral("Zona :")).strong(), field(12, 30, QStringLiteral("ZONA")).strong(),
         computed(48, 50,
                  [](const BandValues& b) {
                      return QStringLiteral("%1 ventas").arg(b.value(QStringLiteral("VENTASZONA")).toInt());
                  }),
         field(101, 28, QStringLiteral("TOTALZONA"), QStringLiteral("###,###.00")).right()}};
    zone.footer = {
        7,
        {text(21, 25, QStringLiteral("Total Zona")).strong(), field(48, 30, QStringLiteral("ZONA")).strong(),
         field(101, 28, QStringLiteral("TOTALZONA"), QStringLiteral("###,###.00")).right().strong()}};

    Group seller;
    seller.name = QStringLiteral("vendedor");
    seller.columns = {QStringLiteral("ZONA"), QStringLiteral("VENDEDOR")};
    seller.repeatHeader = true;
    seller.header = {5,
                     {text(5, 16, QStringLiteral("Vendedor :")), field(21, 30, QStringLiteral("VENDEDOR")),
                      text(132, 14, QStringLiteral("Meta :")),
                      field(163, 28, QStringLiteral("META"), QStringLiteral("###,###.00")).right()}};
    seller.footer = {6,
                     {text(21, 25, QStringLiteral("Total Vendedor")),
                      field(48, 30, QStringLiteral("VENDEDOR")),
                      field(101, 28, QStringLiteral("TOTALVENDEDOR"), QStringLiteral("###,###.00")).right(),
                      field(163, 28, QStringLiteral("FACTURAS")).right()}};
    def.groups = {zone, seller};

    def.totals = {
        {QStringLiteral("TOTALZONA"), Total::Kind::Sum, QStringLiteral("VALOR"), QStringLiteral("zona")},
        {QStringLiteral("VENTASZONA"), Total::Kind::Count, {}, QStringLiteral("zona")},
        {QStringLiteral("TOTALVENDEDOR"), Total::Kind::Sum, QStringLiteral("VALOR"),
         QStringLiteral("vendedor")},
        {QStringLiteral("FACTURAS"), Total::Kind::Count, QStringLiteral("FACTURA"),
         QStringLiteral("vendedor")},
        {QStringLiteral("ACUMULADO"), Total::Kind::Running, QStringLiteral("VALOR"),
         QStringLiteral("vendedor")},
        {QStringLiteral("TOTAL"), Total::Kind::Sum, QStringLiteral("VALOR"), {}},
        {QStringLiteral("REGISTROS"), Total::Kind::Count, {}, {}},
    };
    // What is left of the seller's target after each sale: the target comes from the lookup of the
    // seller's header, the running sale value from the hook's own sum (a query cannot give either).
    auto pending = std::make_shared<double>(0);
    def.hook = [pending](HookContext& c) {
        if (c.event() == HookContext::Event::Begin) *pending = 0;
        if (c.event() == HookContext::Event::GroupHeader && c.group() == 1)
            *pending = c.number(QStringLiteral("META"));
        if (c.event() == HookContext::Event::Detail && c.value(QStringLiteral("META")).isValid()) {
            *pending -= c.number(QStringLiteral("VALOR"));
            c.set(QStringLiteral("PENDIENTE"), *pending);
        }
    };
    def.summary = {
        14,
        {line(0, width).at(1), text(21, 25, QStringLiteral("Total General")).strong().at(2),
         field(101, 28, QStringLiteral("TOTAL"), QStringLiteral("###,###.00")).right().strong().at(2),
         text(0, 60, QStringLiteral("Fin de Reporte ***")).at(7),
         text(100, 36, QStringLiteral("Total Registros : ")).at(7),
         field(136, 20, QStringLiteral("REGISTROS")).at(7)}};
    def.pageFooter = {6, {pageNumber(width - 40, 40, QStringLiteral("Page ")).right().at(1.5)}};
    return std::make_shared<const ReportDefinition>(std::move(def));
}

} // namespace test
