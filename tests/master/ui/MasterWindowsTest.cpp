// The maintenance windows of the master tables, driven offscreen on real databases.

#include "demo/DemoData.h"
#include "master/ui/MasterWindows.h"
#include "platform/db/Dataset.h"
#include "platform/db/DatasetModel.h"
#include "platform/db/Session.h"
#include "platform/report/Registry.h"
#include "platform/ui/Messages.h"
#include "reports/ReportCatalog.h"
#include "support/TestDatabase.h"

#include <QBuffer>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

using Window = ui::MasterWindow;
using Make = std::function<std::unique_ptr<Window>(db::Session&)>;

template <typename W> Make make() {
    return [](db::Session& s) { return std::make_unique<W>(s); };
}

const std::map<QString, Make>& windows() {
    static const std::map<QString, Make> all = {
        {QStringLiteral("TFrmALM005"), make<master::TFrmALM005>()},
        {QStringLiteral("TFrmALM001"), make<master::TFrmALM001>()},
        {QStringLiteral("TFrmALM002"), make<master::TFrmALM002>()},
        {QStringLiteral("TFrmALM003"), make<master::TFrmALM003>()},
        {QStringLiteral("TFrmALM010"), make<master::TFrmALM010>()},
        {QStringLiteral("TFrmALM004"), make<master::TFrmALM004>()},
        {QStringLiteral("TFrmALM006"), make<master::TFrmALM006>()},
        {QStringLiteral("TFrmALM008"), make<master::TFrmALM008>()},
        {QStringLiteral("TFrmCuenta"), make<master::TFrmCuenta>()},
    };
    return all;
}

QLineEdit* edit(Window& w, const char* column) {
    return qobject_cast<QLineEdit*>(w.fieldWidget(QString::fromLatin1(column)));
}

// Every window, on the demo data and on an empty table: it opens, shows each declared field with
// the first row's value, lists the rows, and offers its list with the range and orders declared.
TEST(MasterWindows, EveryWindowOpensOnDemoDataAndOnAnEmptyTable) {
    reports::catalog();
    test::TestDatabase demoDb;
    demo::DemoData::load(demoDb.session());
    test::TestDatabase emptyDb;
    const auto declarations = master::masterDeclarations();
    ASSERT_EQ(declarations.size(), windows().size());
    for (const auto& [name, decl] : declarations) {
        SCOPED_TRACE(name.toStdString());
        ASSERT_TRUE(windows().count(name));
        for (db::Session* s : {&demoDb.session(), &emptyDb.session()}) {
            ui::ScopedRecordingMessages messages;
            auto w = windows().at(name)(*s);
            EXPECT_EQ(w->objectName(), name);
            EXPECT_EQ(w->windowTitle(), decl.caption);
            const int rows = s->scalar(QStringLiteral("SELECT COUNT(*) FROM ") + decl.table).toInt();
            EXPECT_EQ(w->dataset().isEmpty(), rows == 0);
            for (const auto& f : decl.fields)
                EXPECT_NE(w->fieldWidget(f.column), nullptr) << f.column.toStdString();
            ASSERT_NE(w->rangeFromBox(), nullptr);
            if (!decl.rangeFrom.isEmpty()) {
                EXPECT_EQ(w->rangeFromBox()->text(), decl.rangeFrom);
                EXPECT_EQ(w->rangeToBox()->text(), decl.rangeTo);
            }
            const auto list = report::Registry::instance().find(decl.report);
            ASSERT_TRUE(list) << decl.report.toStdString();
            EXPECT_EQ(w->chosenOrder(), list->orderings.front().code);
            EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join(QLatin1Char('|')).toStdString();
        }
    }
}

TEST(MasterWindows, AListWithABadRangeIsRefusedInSpanish) {
    reports::catalog();
    test::TestDatabase tdb;
    master::TFrmALM002 w(tdb.session());
    ui::ScopedRecordingMessages messages;
    w.chooseOrder(QStringLiteral("M"));
    EXPECT_EQ(w.chosenOrder(), QStringLiteral("M"));
    w.rangeFromBox()->setText(QStringLiteral("uno"));
    EXPECT_FALSE(w.printList()); // a refused range opens no preview
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_TRUE(messages->shown[0].contains(QStringLiteral("uno"))) << messages->shown[0].toStdString();
}

TEST(MasterWindows, AGroupThatItemsUseCannotBeDeleted) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    s.execute(QStringLiteral("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES ('01', 'FERRETERIA')"));
    s.execute(QStringLiteral("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES ('02', 'SIN USO')"));
    s.execute(QStringLiteral(
        "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('01-1-1', '01', 1, 1, 'UN')"));
    master::TFrmALM001 w(s);
    ui::ScopedRecordingMessages messages;
    messages->answers = {true};

    w.searchBox()->setText(QStringLiteral("01"));
    EXPECT_FALSE(w.remove());
    EXPECT_EQ(messages->shown,
              QStringList{QStringLiteral("No se puede borrar: el código 01 está en uso en productos.")});
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM GRUPOS")).toInt(), 2);

    w.searchBox()->setText(QStringLiteral("02"));
    EXPECT_TRUE(w.remove());
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM GRUPOS")).toInt(), 1);
}

TEST(MasterWindows, DocumentTypesCopyTheAccountOnlyWhenItChanges) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    s.execute(QStringLiteral("INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, CUENTACONTABLEV, CUENTACONTABLEC, "
                             "CUENTACONTABLEI, CUENTACONTABLECE) VALUES ('EA', 'ENTRADA', '1', '2', '3', '4')"));
    master::TFrmALM008 w(s);
    ui::ScopedRecordingMessages messages;
    const auto copies = [&] {
        const auto r = s.first(QStringLiteral(
            "SELECT CUENTACONTABLEC, CUENTACONTABLEI, CUENTACONTABLECE FROM DOCUMENTOS WHERE DOCUMENTO = 'EA'"));
        return QStringList{r->at(0).toString(), r->at(1).toString(), r->at(2).toString()};
    };

    // A change of the name alone keeps the copies as they were.
    w.startEdit();
    edit(w, "NOMBRE")->setText(QStringLiteral("ENTRADA ALMACEN"));
    ASSERT_TRUE(w.post());
    EXPECT_EQ(copies(), (QStringList{QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")}));

    w.startEdit();
    edit(w, "CUENTACONTABLEV")->setText(QStringLiteral("220505"));
    ASSERT_TRUE(w.post());
    EXPECT_EQ(copies(), (QStringList{QStringLiteral("220505"), QStringLiteral("220505"), QStringLiteral("220505")}));

    // After any navigator button the focus goes to the code, on the first page.
    auto* pages = w.findChild<QTabWidget*>(QStringLiteral("pgcPaginas"));
    ASSERT_NE(pages, nullptr);
    EXPECT_EQ(pages->count(), 4);
    pages->setCurrentIndex(2);
    w.button(Window::Button::Refresh)->click();
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST(MasterWindows, PasaCuentaGivesTheAccountToTheItemsOfTheChosenPair) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    for (const char* sql :
         {"INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('01-1-1', '01', 1, 1, 'UN')",
          "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('01-1-2', '01', 1, 2, 'UN')",
          "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD) VALUES ('02-5-3', '02', 5, 3, 'UN')"})
        s.execute(QString::fromLatin1(sql));
    master::TFrmALM002 w(s);
    ui::ScopedRecordingMessages messages;
    EXPECT_EQ(w.accountBox()->text(), QStringLiteral("145510"));
    ASSERT_EQ(w.accountGrid()->model()->rowCount(), 2);

    w.accountGrid()->setCurrentIndex(w.accountGrid()->model()->index(1, 0)); // 02 / 5
    w.accountBox()->setText(QStringLiteral("143005"));
    ASSERT_TRUE(w.passAccount());
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT CUENTACONTABLE FROM PRODUCTOS WHERE PRODUCTO = 3")).toString(),
              QStringLiteral("143005"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT COUNT(*) FROM PRODUCTOS WHERE CUENTACONTABLE IS NULL")).toInt(), 2);
    EXPECT_EQ(w.accountGrid()->model()->index(1, 2).data().toString(), QStringLiteral("143005"));
}

TEST(MasterWindows, CompanyLogoLoadsFromAPictureFileAndABadFileIsTold) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    s.execute(QStringLiteral("INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'CONSTRUCTORA')"));
    master::TFrmALM005 w(s);
    ui::ScopedRecordingMessages messages;
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("logo.png"));
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(picture));
    const QString notPicture = dir.filePath(QStringLiteral("nota.txt"));
    QFile f(notPicture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("no es una imagen");
    f.close();

    EXPECT_FALSE(w.loadPicture(QStringLiteral("LOGO"), notPicture));
    EXPECT_EQ(messages->shown, QStringList{QStringLiteral("El archivo %1 no es una imagen").arg(notPicture)});
    EXPECT_TRUE(s.scalar(QStringLiteral("SELECT LOGO FROM EMPRESAS")).isNull());

    EXPECT_TRUE(w.loadPicture(QStringLiteral("LOGO"), picture));
    EXPECT_FALSE(s.scalar(QStringLiteral("SELECT LOGO FROM EMPRESAS")).toByteArray().isEmpty());
    EXPECT_EQ(w.dataset().state(), db::Dataset::State::Browse);
    auto* logo = qobject_cast<QLabel*>(w.fieldWidget(QStringLiteral("LOGO")));
    ASSERT_NE(logo, nullptr);
    EXPECT_FALSE(logo->pixmap().isNull());
}

TEST(MasterWindows, GroupLoadFromTheWindowTellsTheSummaryAndShowsTheRows) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    master::TFrmALM001 w(s);
    ui::ScopedRecordingMessages messages;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grupos.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("          01    FERRETERIA\n\n          01    OTRA VEZ\n          02    PINTURAS\n");
    f.close();

    w.loadTextFile(path);
    ASSERT_EQ(messages->shown.size(), 1);
    EXPECT_TRUE(messages->shown[0].startsWith(QStringLiteral("Línea 3: 01    OTRA VEZ - ")));
    EXPECT_TRUE(messages->shown[0].endsWith(QStringLiteral("2 cargados, 1 con error")));
    EXPECT_EQ(w.model().rowCount(), 2);
    EXPECT_EQ(edit(w, "GRUPO")->text(), QStringLiteral("01"));
}

TEST(MasterWindows, ConversionsRangeCoversTheTableAndSearchGoesToTheNearestUnit) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    for (const char* sql : {"INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('KG', 'KILOGRAMO')",
                            "INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('LB', 'LIBRA')",
                            "INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES ('TO', 'TONELADA')",
                            "INSERT INTO UNIDADCONVERSION VALUES ('KG', 'LB', 2.2046, 'M')",
                            "INSERT INTO UNIDADCONVERSION VALUES ('TO', 'KG', 1000, 'M')"})
        s.execute(QString::fromLatin1(sql));
    master::TFrmALM010 w(s);
    EXPECT_EQ(w.rangeFromBox()->text(), QStringLiteral("KG"));
    EXPECT_EQ(w.rangeToBox()->text(), QStringLiteral("TO"));
    auto* unit = qobject_cast<QComboBox*>(w.fieldWidget(QStringLiteral("CODIGOUNIDAD")));
    ASSERT_NE(unit, nullptr);
    EXPECT_EQ(unit->count(), 3);
    EXPECT_EQ(unit->currentText(), QStringLiteral("KILOGRAMO")); // shows the name, keeps the code

    w.searchBox()->setText(QStringLiteral("M")); // no unit "M": the next one is "TO"
    EXPECT_EQ(w.dataset().value(QStringLiteral("CODIGOUNIDAD")).toString(), QStringLiteral("TO"));
    EXPECT_EQ(unit->currentText(), QStringLiteral("TONELADA"));
}

} // namespace
