#include "platform/ui/MasterWindow.h"
#include "platform/db/Dataset.h"
#include "platform/db/DatasetModel.h"
#include "platform/ui/Messages.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Button = ui::MasterWindow::Button;
using Decl = ui::MasterWindowDeclaration;
using Kind = Decl::Field::Kind;

const QString kHint = QStringLiteral("Teclee Codigo O Flechas Para Buscar el registro");

Decl bodegas() {
    return Decl{.table = QStringLiteral("BODEGAS"),
                .key = {QStringLiteral("BODEGA")},
                .caption = QStringLiteral("Bodegas"),
                .heading = QStringLiteral("B O D E G A S"),
                .fields = {{.column = QStringLiteral("BODEGA"),
                            .label = QStringLiteral("Código Bodega  :"),
                            .kind = Kind::Number},
                           {.column = QStringLiteral("NOMBRE"), .label = QStringLiteral("Nombre Bodega:")}},
                .grid = {{QStringLiteral("BODEGA"), QStringLiteral("Código")},
                         {QStringLiteral("NOMBRE"), QStringLiteral("Nombre")}},
                .searchHint = kHint};
}

Decl unidades(Decl::Search search) {
    return Decl{.table = QStringLiteral("UNIDADES"),
                .caption = QStringLiteral("Unidades de Movimiento"),
                .heading = QStringLiteral("U N I D A D E S"),
                .fields = {{.column = QStringLiteral("UNIDAD"), .label = QStringLiteral("Código Unidad  :")},
                           {.column = QStringLiteral("NOMBRE"), .label = QStringLiteral("Nombre Unidad  :")}},
                .grid = {{QStringLiteral("UNIDAD"), QStringLiteral("Código")},
                         {QStringLiteral("NOMBRE"), QStringLiteral("Nombre")}},
                .searchColumn = QStringLiteral("UNIDAD"),
                .search = search,
                .searchHint = kHint};
}

class MasterWindowTest : public ::testing::Test {
  protected:
    test::TestDatabase tdb;
    ui::ScopedRecordingMessages messages;

    void seedBodegas() {
        for (auto [code, name] : {std::pair{1, "Principal"}, {3, "Repuestos"}, {5, "Patio"}})
            tdb.session().execute("INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (?, ?)", {code, name});
    }
    void seedUnidades() {
        for (auto [code, name] : {std::pair{"KG", "Kilogramo"}, {"LT", "Litro"}, {"UN", "Unidad"}})
            tdb.session().execute("INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES (?, ?)", {code, name});
    }
    QString nameOfBodega(int code) {
        auto row = tdb.session().first("SELECT NOMBRE FROM BODEGAS WHERE BODEGA = ?", {code});
        return row ? row->text("NOMBRE") : QStringLiteral("<none>");
    }

    static QLineEdit* line(ui::MasterWindow& w, const char* name) {
        return w.findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    static void click(ui::MasterWindow& w, const char* name) {
        auto* b = w.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(nullptr, b) << name;
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    // The navigator buttons that are enabled, by object name.
    static QStringList enabled(ui::MasterWindow& w) {
        QStringList out;
        for (auto* b : w.findChildren<QPushButton*>())
            if (b->objectName().startsWith(QStringLiteral("nav")) && b->isEnabled()) out << b->objectName();
        out.sort();
        return out;
    }
    static void show(ui::MasterWindow& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
};

QStringList sorted(QStringList l) {
    l.sort();
    return l;
}

TEST_F(MasterWindowTest, NavigatorButtonsFollowTheStateAndPosition) {
    seedBodegas();
    ui::MasterWindow w(tdb.session(), bodegas());
    EXPECT_EQ(QStringLiteral("Bodegas"), w.windowTitle());
    EXPECT_EQ(kHint, line(w, "edtRegistro")->toolTip());
    EXPECT_EQ(QStringLiteral("1"), line(w, "fldBODEGA")->text());
    EXPECT_EQ(QStringLiteral("Principal"), line(w, "fldNOMBRE")->text());

    struct Step {
        const char* press; // nullptr: as opened
        QString key;
        QStringList enabled;
    };
    const QStringList browseAlways{"navInsert", "navDelete", "navEdit", "navRefresh"};
    const std::vector<Step> steps{
        {nullptr, "1", sorted(browseAlways + QStringList{"navNext", "navLast"})},
        {"navNext", "3", sorted(browseAlways + QStringList{"navFirst", "navPrior", "navNext", "navLast"})},
        {"navLast", "5", sorted(browseAlways + QStringList{"navFirst", "navPrior"})},
        {"navEdit", "5", sorted({"navPost", "navCancel"})},
        {"navCancel", "5", sorted(browseAlways + QStringList{"navFirst", "navPrior"})},
        {"navFirst", "1", sorted(browseAlways + QStringList{"navNext", "navLast"})},
        {"navInsert", "", sorted({"navPost", "navCancel"})},
    };
    for (const auto& s : steps) {
        if (s.press) click(w, s.press);
        const QString at = QString::fromLatin1(s.press ? s.press : "open");
        EXPECT_EQ(s.key, line(w, "fldBODEGA")->text()) << at.toStdString();
        EXPECT_EQ(s.enabled, enabled(w)) << at.toStdString();
        // After any navigator button the key field has the focus.
        if (s.press) {
            EXPECT_EQ(w.fieldWidget("BODEGA"), w.focusWidget()) << at.toStdString();
        }
    }
    // Neither searching nor the grid can move the row while it is being written.
    EXPECT_FALSE(line(w, "edtRegistro")->isEnabled());
    EXPECT_FALSE(w.findChild<QTableView*>("grdDatos")->isEnabled());
}

TEST_F(MasterWindowTest, EmptyTableOffersOnlyInsertAndRefresh) {
    ui::MasterWindow w(tdb.session(), bodegas());
    EXPECT_EQ(sorted({"navInsert", "navRefresh"}), enabled(w));
    EXPECT_EQ(QString(), line(w, "fldBODEGA")->text());
}

TEST_F(MasterWindowTest, InsertTypedWithEnterIsPostedAndReadBack) {
    seedBodegas();
    ui::MasterWindow w(tdb.session(), bodegas());
    show(w);
    click(w, "navInsert");
    QTest::keyClicks(line(w, "fldBODEGA"), "7");
    QTest::keyClick(line(w, "fldBODEGA"), Qt::Key_Return);
    ASSERT_EQ(line(w, "fldNOMBRE"), QApplication::focusWidget());
    QTest::keyClicks(line(w, "fldNOMBRE"), "Bodega Norte");
    click(w, "navPost");

    EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join('|').toStdString();
    EXPECT_EQ(db::Dataset::State::Browse, w.dataset().state());
    EXPECT_EQ(QStringLiteral("Bodega Norte"), nameOfBodega(7));
    EXPECT_EQ(QStringLiteral("7"), line(w, "fldBODEGA")->text());
    // The grid lists the new row and stands on it.
    auto* grid = w.findChild<QTableView*>("grdDatos");
    EXPECT_EQ(4, w.model().rowCount());
    EXPECT_EQ(QVariantList{7}, w.model().keyAt(grid->currentIndex().row()));
}

TEST_F(MasterWindowTest, TypingIntoABrowsedRowEditsItAndPostWritesOnlyThatRow) {
    seedBodegas();
    ui::MasterWindow w(tdb.session(), bodegas());
    click(w, "navNext");
    auto* nombre = line(w, "fldNOMBRE");
    nombre->selectAll();
    QTest::keyClicks(nombre, "Repuestos y Llantas");
    EXPECT_EQ(db::Dataset::State::Edit, w.dataset().state());
    click(w, "navPost");
    EXPECT_EQ(QStringLiteral("Repuestos y Llantas"), nameOfBodega(3));
    EXPECT_EQ(QStringLiteral("Principal"), nameOfBodega(1));
    EXPECT_EQ(QStringLiteral("Patio"), nameOfBodega(5));
}

TEST_F(MasterWindowTest, RefusedPostShowsTheReasonAndKeepsTheTypedRow) {
    struct Case {
        const char* key;
        const char* expectedText; // part of the message shown
    };
    const Case cases[] = {
        {"3", "PK_BODEGAS"},                     // the engine's own text of a duplicate key
        {"3x", "'3x' no es un número válido"},   // refused before it reaches the database
        {"2.5", "'2.5' no es un número válido"}, // the key is a whole number
    };
    seedBodegas();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        messages->shown.clear();
        ui::MasterWindow w(tdb.session(), bodegas());
        click(w, "navInsert");
        QTest::keyClicks(line(w, "fldBODEGA"), c.key);
        QTest::keyClicks(line(w, "fldNOMBRE"), "Otra");
        click(w, "navPost");

        ASSERT_EQ(1, messages->shown.size());
        EXPECT_TRUE(messages->shown[0].contains(QString::fromUtf8(c.expectedText)))
            << messages->shown[0].toStdString();
        EXPECT_EQ(db::Dataset::State::Insert, w.dataset().state());
        EXPECT_EQ(QString::fromLatin1(c.key), line(w, "fldBODEGA")->text());
        EXPECT_EQ(QStringLiteral("Otra"), line(w, "fldNOMBRE")->text());
        EXPECT_EQ(sorted({"navPost", "navCancel"}), enabled(w));
    }
    EXPECT_EQ(QStringLiteral("Repuestos"), nameOfBodega(3));
    EXPECT_EQ(3, tdb.session().scalar("SELECT COUNT(*) FROM BODEGAS").toInt());
}

TEST_F(MasterWindowTest, CorrectingTheKeyAfterARefusalPostsTheRow) {
    seedBodegas();
    ui::MasterWindow w(tdb.session(), bodegas());
    click(w, "navInsert");
    QTest::keyClicks(line(w, "fldBODEGA"), "3");
    QTest::keyClicks(line(w, "fldNOMBRE"), "Otra");
    click(w, "navPost");
    ASSERT_EQ(1, messages->shown.size());
    line(w, "fldBODEGA")->selectAll();
    QTest::keyClicks(line(w, "fldBODEGA"), "4");
    click(w, "navPost");
    EXPECT_EQ(1, messages->shown.size());
    EXPECT_EQ(QStringLiteral("Otra"), nameOfBodega(4));
    EXPECT_EQ(db::Dataset::State::Browse, w.dataset().state());
}

TEST_F(MasterWindowTest, CancelRestoresTheRowAndWritesNothing) {
    seedBodegas();
    ui::MasterWindow w(tdb.session(), bodegas());
    click(w, "navNext");
    click(w, "navEdit");
    line(w, "fldNOMBRE")->selectAll();
    QTest::keyClicks(line(w, "fldNOMBRE"), "Cambiado");
    click(w, "navCancel");
    EXPECT_EQ(QStringLiteral("Repuestos"), line(w, "fldNOMBRE")->text());
    EXPECT_EQ(QStringLiteral("Repuestos"), nameOfBodega(3));

    // A cancelled new row leaves the window on the row it came from.
    click(w, "navInsert");
    QTest::keyClicks(line(w, "fldBODEGA"), "9");
    click(w, "navCancel");
    EXPECT_EQ(QStringLiteral("3"), line(w, "fldBODEGA")->text());
    EXPECT_EQ(QStringLiteral("<none>"), nameOfBodega(9));
    EXPECT_EQ(db::Dataset::State::Browse, w.dataset().state());
}

TEST_F(MasterWindowTest, KeySearchIsExactOrNearestAsDeclared) {
    struct Case {
        Decl::Search search;
        const char* typed;
        const char* expected; // the row the window stands on, starting from "KG"
    };
    const Case cases[] = {
        {Decl::Search::Exact, "LT", "LT"},  {Decl::Search::Exact, "M", "KG"}, // none: stays
        {Decl::Search::Exact, "L", "KG"},   {Decl::Search::Nearest, "M", "UN"},
        {Decl::Search::Nearest, "L", "LT"}, {Decl::Search::Nearest, "LT", "LT"},
        {Decl::Search::Exact, "un", "KG"}, // codes compare case-sensitively
    };
    seedUnidades();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ui::MasterWindow w(tdb.session(), unidades(c.search));
        QTest::keyClicks(line(w, "edtRegistro"), c.typed);
        EXPECT_EQ(QString::fromLatin1(c.expected), line(w, "fldUNIDAD")->text());
        auto* grid = w.findChild<QTableView*>("grdDatos");
        EXPECT_EQ(QVariantList{QString::fromLatin1(c.expected)}, w.model().keyAt(grid->currentIndex().row()));
    }
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(MasterWindowTest, ClickingAGridRowMovesTheFields) {
    seedUnidades();
    ui::MasterWindow w(tdb.session(), unidades(Decl::Search::Exact));
    auto* grid = w.findChild<QTableView*>("grdDatos");
    grid->setCurrentIndex(w.model().index(2, 1));
    EXPECT_EQ(QStringLiteral("UN"), line(w, "fldUNIDAD")->text());
    EXPECT_EQ(QStringLiteral("Unidad"), line(w, "fldNOMBRE")->text());
}

TEST_F(MasterWindowTest, DeleteAsksAndNoKeepsTheRow) {
    seedUnidades();
    ui::MasterWindow w(tdb.session(), unidades(Decl::Search::Exact));
    click(w, "navNext");
    messages->answers = {false};
    click(w, "navDelete");
    EXPECT_EQ(QStringList{ui::MasterWindow::kDeleteQuestion}, messages->shown);
    EXPECT_EQ(QStringLiteral("LT"), line(w, "fldUNIDAD")->text());
    EXPECT_EQ(3, w.model().rowCount());

    messages->answers = {true};
    click(w, "navDelete");
    EXPECT_EQ(2, messages->shown.size());
    auto gone = tdb.session().first("SELECT UNIDAD FROM UNIDADES WHERE UNIDAD = 'LT'");
    EXPECT_FALSE(gone);
    // The window moves on to the next row.
    EXPECT_EQ(QStringLiteral("UN"), line(w, "fldUNIDAD")->text());
    EXPECT_EQ(2, w.model().rowCount());
}

TEST_F(MasterWindowTest, FieldKindsShowAndStoreTheirColumnValues) {
    tdb.session().execute("INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, CENTROCOSTOS, OPERADOR, "
                          "RESOLUCIONFACTURACION, PONDERADOR) VALUES ('FV', 'Factura', 'S', 'R', ?, 1234.5)",
                          {QStringLiteral("Resolución 1\nVigente")});
    const Decl documentos{
        .table = QStringLiteral("DOCUMENTOS"),
        .caption = QStringLiteral("Documentos"),
        .fields = {{.column = QStringLiteral("DOCUMENTO"), .label = QStringLiteral("Código Documento  :")},
                   {.column = QStringLiteral("CENTROCOSTOS"),
                    .label = QStringLiteral("Manejo Centro de Costos"),
                    .kind = Kind::Tick},
                   {.column = QStringLiteral("OPERADOR"),
                    .label = QStringLiteral("Operador"),
                    .kind = Kind::Choice,
                    .choices = {{QStringLiteral("Suma"), QStringLiteral("S")},
                                {QStringLiteral("Resta"), QStringLiteral("R")},
                                {QStringLiteral("Sin Cantidad"), QStringLiteral("N")}}},
                   {.column = QStringLiteral("RESOLUCIONFACTURACION"),
                    .label = QString(),
                    .kind = Kind::Memo},
                   {.column = QStringLiteral("PONDERADOR"),
                    .label = QStringLiteral("Ponderador"),
                    .kind = Kind::Number,
                    .mask = QStringLiteral("###,###.00")}},
        .grid = {{QStringLiteral("DOCUMENTO"), {}}, {QStringLiteral("NOMBRE"), {}}}};
    ui::MasterWindow w(tdb.session(), documentos);
    auto* tick = w.findChild<QCheckBox*>("fldCENTROCOSTOS");
    auto* choice = w.findChild<QComboBox*>("fldOPERADOR");
    auto* memo = w.findChild<QPlainTextEdit*>("fldRESOLUCIONFACTURACION");
    EXPECT_EQ(5, line(w, "fldDOCUMENTO")->maxLength()); // CHAR(5)
    EXPECT_TRUE(tick->isChecked());
    EXPECT_EQ(QStringLiteral("Resta"), choice->currentText());
    EXPECT_EQ(QStringLiteral("Resolución 1\nVigente"), memo->toPlainText());
    EXPECT_EQ(QStringLiteral("1,234.50"), line(w, "fldPONDERADOR")->text());

    click(w, "navEdit");
    tick->click();
    choice->setCurrentIndex(0);
    line(w, "fldPONDERADOR")->selectAll();
    QTest::keyClicks(line(w, "fldPONDERADOR"), "2,000.75");
    click(w, "navPost");
    ASSERT_TRUE(messages->shown.isEmpty()) << messages->shown.join('|').toStdString();
    const auto row = tdb.session().first("SELECT * FROM DOCUMENTOS WHERE DOCUMENTO = 'FV'");
    ASSERT_TRUE(row);
    EXPECT_EQ(QStringLiteral("N"), row->text("CENTROCOSTOS"));
    EXPECT_EQ(QStringLiteral("S"), row->text("OPERADOR"));
    EXPECT_DOUBLE_EQ(2000.75, row->number("PONDERADOR"));
    EXPECT_EQ(QStringLiteral("Resolución 1\nVigente"), row->text("RESOLUCIONFACTURACION"));
    EXPECT_EQ(QStringLiteral("Factura"), row->text("NOMBRE"));
}

TEST_F(MasterWindowTest, DatesAreTypedDayFirstAndAnImpossibleDateIsRefused) {
    const Decl empresas{
        .table = QStringLiteral("EMPRESAS"),
        .caption = QStringLiteral("MANTENIMIENTO EMPRESAS"),
        .fields = {{.column = QStringLiteral("EMPRESA"), .label = QStringLiteral("Código Empresa  :")},
                   {.column = QStringLiteral("FECHACORTE"),
                    .label = QStringLiteral("Fecha Corte :"),
                    .kind = Kind::Date}},
        .grid = {{QStringLiteral("EMPRESA"), QStringLiteral("Código")}}};
    ui::MasterWindow w(tdb.session(), empresas);
    click(w, "navInsert");
    QTest::keyClicks(line(w, "fldEMPRESA"), "01");
    QTest::keyClicks(line(w, "fldFECHACORTE"), "31/02/2026");
    click(w, "navPost");
    EXPECT_EQ(QStringList{QStringLiteral("'31/02/2026' no es una fecha válida")}, messages->shown);
    EXPECT_EQ(db::Dataset::State::Insert, w.dataset().state());

    line(w, "fldFECHACORTE")->clear();
    QTest::keyClicks(line(w, "fldFECHACORTE"), "31/01/2026");
    click(w, "navPost");
    EXPECT_EQ(1, messages->shown.size());
    EXPECT_EQ(
        QDate(2026, 1, 31),
        tdb.session().scalar("SELECT FECHACORTE FROM EMPRESAS WHERE EMPRESA = '01'").toDateTime().date());
    EXPECT_EQ(QStringLiteral("31/01/2026"), line(w, "fldFECHACORTE")->text());
}

} // namespace
