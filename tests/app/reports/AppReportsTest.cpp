// The users list and the permission list over a real database, in every output form.

#include "app/SystemRows.h"
#include "app/reports/MenuReport.h"
#include "app/reports/UsersReport.h"
#include "platform/report/DataPass.h"
#include "platform/report/HtmlExport.h"
#include "platform/report/Output.h"
#include "platform/report/PdfText.h"
#include "platform/report/TextExport.h"
#include "platform/sheet/XlsxReader.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<const report::ReportData> prepare(db::Session& s, report::ReportDefinition def) {
    report::DataPass::Options o;
    o.printedAt = QDateTime(QDate(2024, 3, 15), QTime(9, 0));
    return report::DataPass::run(std::make_shared<const report::ReportDefinition>(std::move(def)), s, o);
}

// Everything a report can become, as text: the text and HTML exports, the PDF read back and the cells
// of the spreadsheet.
QStringList everyOutput(const report::ReportData& data) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    const QString xlsx = dir.filePath(QStringLiteral("r.xlsx"));
    report::Output::write(data, report::OutputFormat::Pdf, pdf);
    report::Output::write(data, report::OutputFormat::Xlsx, xlsx);
    QString cells;
    const sheet::XlsxReader book(xlsx);
    for (int r = 1; r <= book.rowCount(0); ++r)
        for (int c = 1; c <= book.columnCount(0); ++c)
            cells += book.cell(0, r, c).toString() + QLatin1Char('\t');
    return {report::TextExport::toString(data), report::HtmlExport::toString(data),
            test::pdfPages(pdf).join('\f'), cells};
}

TEST(AppReports, TheUsersListNeverPrintsPasswords) {
    test::TestDatabase db;
    auto& s = db.session();
    app::SystemRows::install(s);
    s.execute(
        QStringLiteral("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO, FECHAHORA, FECHAVENCIMIENTO) "
                       "VALUES (?, ?, ?, ?, ?, ?)"),
        {2, QStringLiteral("MARIA PEREZ"), QStringLiteral("Secreto-123"), QStringLiteral("1"),
         QDateTime(QDate(2024, 1, 2), QTime(8, 30)), QDateTime(QDate(2024, 12, 31), QTime(0, 0))});
    s.execute(QStringLiteral("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (?, ?, ?, ?)"),
              {3, QStringLiteral("JUAN GOMEZ"), QStringLiteral("ClaveJuan99"), QStringLiteral("2")});
    const auto data = prepare(s, app::usersReport());
    EXPECT_EQ(3, data->detailCount());
    const QStringList outputs = everyOutput(*data);
    for (int i = 0; i < outputs.size(); ++i) {
        const QString& out = outputs[i];
        SCOPED_TRACE("output " + std::to_string(i) + ":\n" + out.toStdString());
        for (const char* password : {"Secreto-123", "ClaveJuan99", "admin"})
            EXPECT_FALSE(out.contains(QLatin1String(password)));
        EXPECT_FALSE(out.contains(QLatin1String("CLAVE")));
        for (const char* shown :
             {"USUARIOS DEL SISTEMA", "FECHAVENCIMIENTO", "MARIA PEREZ", "JUAN GOMEZ", "ADMIN"})
            EXPECT_TRUE(out.contains(QLatin1String(shown))) << shown;
    }
    EXPECT_TRUE(outputs[0].contains(
        QRegularExpression(QStringLiteral("2 +MARIA PEREZ +1 +02/01/2024 08:30 +31/12/2024"))));
}

TEST(AppReports, ThePermissionListPrintsWholeStringsInLinesOfFifty) {
    test::TestDatabase db;
    auto& s = db.session();
    QString pattern;
    for (int i = 0; i < 200; ++i)
        pattern += QLatin1Char(i % 3 == 0 ? '0' : '1');
    s.execute(QStringLiteral("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (?, ?)"), {7, pattern});
    s.execute(QStringLiteral("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (?, ?)"),
              {9, QStringLiteral("111111111101")});
    const QString text = report::TextExport::toString(*prepare(s, app::menuReport()));
    QString printed;
    for (const QString& line : text.split('\n')) {
        const auto m = QRegularExpression(QStringLiteral("(\\d{3})-(\\d{3})  ([01 ]+)$")).match(line);
        if (m.hasMatch()) printed += m.captured(3).remove(' ');
    }
    EXPECT_EQ(pattern + QStringLiteral("111111111101"), printed) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n +7 +001-050  0110110110 1101101101 "))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n +151-200  "))));
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("\\n +9 +001-012  1111111111 01\\n"))));
    EXPECT_FALSE(text.contains(QStringLiteral("013-")));
}

} // namespace
