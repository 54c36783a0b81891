#include "master/ui/lookup/LookupResults.h"
#include "master/ui/lookup/TFrmBuscarCentroCosto.h"
#include "master/ui/lookup/TFrmBuscarDirecciones.h"
#include "master/ui/lookup/TFrmBuscarProducto.h"
#include "master/ui/lookup/TFrmBuscarProveedor.h"
#include "master/ui/lookup/TFrmBuscarSubProducto.h"
#include "platform/db/Dataset.h"
#include "platform/db/DatasetModel.h"
#include "platform/ui/Messages.h"
#include "support/TestDatabase.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

using master::LookupDialog;
using master::lookupResults;

// The row the dialog stands on, as the grid column `column` shows it.
QString currentIn(LookupDialog& d, const QString& column) {
    return d.dataset().isEmpty() ? QString() : d.dataset().current().text(column);
}

QLineEdit* searchBox(QWidget& d) {
    return d.findChild<QLineEdit*>(QStringLiteral("edtBuscar"));
}
QTableView* grid(QWidget& d) {
    return d.findChild<QTableView*>(QStringLiteral("grdBuscar"));
}
void click(QWidget& d, const char* name) {
    auto* b = d.findChild<QAbstractButton*>(QString::fromLatin1(name));
    ASSERT_NE(nullptr, b) << name;
    QTest::mouseClick(b, Qt::LeftButton);
}
void pressIn(QWidget* w, Qt::Key key) {
    QTest::keyClick(w, key);
}

// Runs the dialog as a caller does, acting on it once it is up; what exec() returned.
int runModal(QDialog& d, const std::function<void(QDialog&)>& act) {
    QTimer::singleShot(0, &d, [&] {
        act(d);
        if (d.isVisible()) {
            ADD_FAILURE() << "the dialog did not close";
            d.reject();
        }
    });
    return d.exec();
}

// A grid column's texts, top to bottom.
QStringList columnTexts(LookupDialog& d, const QString& column) {
    const int c = int(d.model().columnNames().indexOf(column));
    QStringList out;
    for (int r = 0; r < d.model().rowCount(); ++r)
        out << d.model().index(r, c).data().toString();
    return out;
}

// What the grid shows in a cell, through the delegate of its column.
QString shownText(LookupDialog& d, int row, const QString& column) {
    const QModelIndex i = d.model().index(row, int(d.model().columnNames().indexOf(column)));
    auto* delegate = qobject_cast<QStyledItemDelegate*>(grid(d)->itemDelegateForIndex(i));
    return delegate ? delegate->displayText(i.data(), QLocale()) : QStringLiteral("<no delegate>");
}

using Factory = std::function<std::unique_ptr<LookupDialog>(db::Session&)>;
template <typename D> Factory make() {
    return [](db::Session& s) { return std::make_unique<D>(s); };
}

class LookupDialogTest : public ::testing::Test {
  protected:
    test::TestDatabase tdb;
    ui::ScopedRecordingMessages messages;

    void SetUp() override {
        lookupResults() = {};
        db::Session& s = tdb.session();
        const QVariant null;
        struct Supplier {
            double nit;
            const char *name, *phone, *city;
            QVariant referrer;
        };
        for (const Supplier& p : {Supplier{100, "ACME LTDA", "555-3", "CALI", 900.0},
                                  Supplier{200, "BETA SA", "555-1", "BOGOTA", null},
                                  Supplier{300, "DELTA", "555-4", "MEDELLIN", 100.0},
                                  Supplier{900123456, "ZETA", "555-2", "ARMENIA", null}})
            s.execute("INSERT INTO PROVEEDORES (NIT, DV, NOMBRE, TELEFONO, CIUDAD, PADRE) "
                      "VALUES (?, '1', ?, ?, ?, ?)",
                      {p.nit, p.name, p.phone, p.city, p.referrer});
        for (auto [item, name, unit] :
             {std::tuple{7, "TORNILLO", "UN"}, {8, "ARANDELA", "KG"}, {9, "MARTILLO", "UN"}})
            s.execute(
                "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, NOMBRE, UNIDAD, VALORUNIDAD, "
                "VALORIVA) VALUES (?, '01', 3, ?, ?, ?, 1234.5, 16)",
                {QStringLiteral("01-3-%1").arg(item), item, name, unit});
        for (auto [item, sub, name] : {std::tuple{7, 8, "ARANDELA"}, {7, 9, "MARTILLO"}, {8, 9, "MARTILLO"}})
            s.execute("INSERT INTO PRODUCTOSSUB (PRODUCTO, SUBPRODUCTO, NOMBRE) VALUES (?, ?, ?)",
                      {item, sub, name});
        for (auto [nit, n, contact, address] : {std::tuple{100.0, 1, "ZOILA", "CALLE 1"},
                                                {100.0, 2, "ANA", "CALLE 2"},
                                                {200.0, 1, "PEDRO", "CARRERA 9"}})
            s.execute("INSERT INTO TERCEROSDIRECCIONES (NIT, NUMERODIRECCION, CONTACTO, DIRECCION) VALUES "
                      "(?, ?, ?, ?)",
                      {nit, n, contact, address});
        for (auto [code, name] :
             {std::pair{"A01", "OBRA NORTE"}, {"B02", "ADMINISTRACION"}, {"C03", "BODEGA"}})
            s.execute("INSERT INTO CENTROCOSTOS (CENTROCOSTO, NOMBRE) VALUES (?, ?)", {code, name});
    }

    void TearDown() override {
        EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join('|').toStdString();
    }
};

QString supplierResult() {
    return QStringLiteral("%1/%2")
        .arg(lookupResults().supplierNit, 0, 'f', 0)
        .arg(lookupResults().supplierReferrer, 0, 'f', 0);
}

TEST_F(LookupDialogTest, SupplierChosenByEnterOkOrDoubleClickIsTheSame) {
    struct Way {
        const char* name;
        std::function<void(QDialog&)> choose;
    };
    const std::vector<Way> ways{
        {"Enter", [](QDialog& d) { pressIn(searchBox(d), Qt::Key_Return); }},
        {"OK", [](QDialog& d) { click(d, "btnOk"); }},
        {"double click",
         [](QDialog& d) {
             // A double click as the system delivers it: a click, then the double click.
             QTableView* g = grid(d);
             const QPoint at = g->visualRect(g->currentIndex()).center();
             QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, at);
             QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, at);
         }},
    };
    for (const Way& way : ways) {
        for (auto [typed, expected] : {std::pair{"300", "300/100"}, {"200", "200/0"}}) {
            lookupResults() = {};
            master::TFrmBuscarProveedor d(tdb.session());
            const int result = runModal(d, [&](QDialog& dlg) {
                QTest::keyClicks(searchBox(dlg), QString::fromLatin1(typed));
                way.choose(dlg);
            });
            EXPECT_EQ(QDialog::Accepted, result) << way.name << " " << typed;
            EXPECT_EQ(QString::fromLatin1(expected), supplierResult()) << way.name << " " << typed;
        }
    }

    // A row picked in the grid with the mouse is the one chosen.
    master::TFrmBuscarProveedor d(tdb.session());
    EXPECT_EQ(QDialog::Accepted, runModal(d, [](QDialog& dlg) {
                  QTableView* g = grid(dlg);
                  QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                                    g->visualRect(g->model()->index(2, 0)).center());
                  click(dlg, "btnOk");
              }));
    EXPECT_EQ(QStringLiteral("300/100"), supplierResult());
}

TEST_F(LookupDialogTest, CancellingLeavesTheEarlierChoiceOfEverySearch) {
    struct Search {
        const char* name;
        Factory make;
        std::function<QString()> result;
    };
    const std::vector<Search> searches{
        {"supplier", make<master::TFrmBuscarProveedor>(), supplierResult},
        {"item", make<master::TFrmBuscarProducto>(),
         [] { return lookupResults().item + QLatin1Char('/') + lookupResults().itemUnit; }},
        {"sub-item", make<master::TFrmBuscarSubProducto>(),
         [] { return QString::number(lookupResults().subItem); }},
        {"address", make<master::TFrmBuscarDirecciones>(), [] { return lookupResults().address; }},
        {"cost centre", make<master::TFrmBuscarCentroCosto>(), [] { return lookupResults().costCentre; }},
    };
    struct Cancel {
        const char* name;
        std::function<void(QDialog&)> cancel;
    };
    const std::vector<Cancel> cancels{
        {"Cancelar", [](QDialog& d) { click(d, "btnCancelar"); }},
        {"Esc", [](QDialog& d) { pressIn(searchBox(d), Qt::Key_Escape); }},
        {"close box", [](QDialog& d) { d.close(); }},
    };
    const auto down = [](QDialog& d) { pressIn(searchBox(d), Qt::Key_Down); };

    for (const Search& s : searches) {
        lookupResults() = {};
        lookupResults().subItemFilterItem = 7;
        lookupResults().addressFilterNit = 100;
        // The first row, chosen; then what the second row would give, to know cancelling matters.
        EXPECT_EQ(QDialog::Accepted, runModal(*s.make(tdb.session()), [](QDialog& d) { click(d, "btnOk"); }));
        const QString earlier = s.result();
        EXPECT_EQ(QDialog::Accepted, runModal(*s.make(tdb.session()), [&](QDialog& d) {
                      down(d);
                      click(d, "btnOk");
                  }));
        const QString second = s.result();
        ASSERT_NE(earlier, second) << s.name;
        ASSERT_FALSE(earlier.isEmpty()) << s.name;

        for (const Cancel& c : cancels) {
            EXPECT_EQ(QDialog::Accepted,
                      runModal(*s.make(tdb.session()), [](QDialog& d) { click(d, "btnOk"); }));
            EXPECT_EQ(QDialog::Rejected, runModal(*s.make(tdb.session()),
                                                  [&](QDialog& d) {
                                                      down(d);
                                                      c.cancel(d);
                                                  }))
                << s.name << " " << c.name;
            EXPECT_EQ(earlier, s.result()) << s.name << " " << c.name;
        }
    }
}

TEST_F(LookupDialogTest, FilteredSearchesOfferOnlyTheRowsOfTheirValue) {
    struct Case {
        const char* name;
        std::function<void(double)> setFilter;
        Factory make;
        QString column;
        QStringList rowsOfFirst; // the column's texts when filtered by 7 (sub-items) or 100 (addresses)
        double first;
        std::function<QString()> result;
        QString emptyResult;
    };
    const std::vector<Case> cases{
        {"sub-item",
         [](double v) { lookupResults().subItemFilterItem = int(v); },
         make<master::TFrmBuscarSubProducto>(),
         "SUBPRODUCTO",
         {"8", "9"},
         7,
         [] { return QString::number(lookupResults().subItem); },
         "0"},
        {"address",
         [](double v) { lookupResults().addressFilterNit = v; },
         make<master::TFrmBuscarDirecciones>(),
         "DIRECCION",
         {"CALLE 1", "CALLE 2"},
         100,
         [] { return lookupResults().address; },
         ""},
    };
    for (const Case& c : cases) {
        c.setFilter(c.first);
        auto d = c.make(tdb.session());
        EXPECT_EQ(c.rowsOfFirst, columnTexts(*d, c.column)) << c.name;

        // A value that names nothing: an empty grid, and OK publishes the empty result.
        lookupResults().subItem = 9;
        lookupResults().address = QStringLiteral("CALLE 1");
        c.setFilter(555);
        auto empty = c.make(tdb.session());
        EXPECT_EQ(0, empty->model().rowCount()) << c.name;
        EXPECT_EQ(QDialog::Rejected, runModal(*empty, [](QDialog& d) { click(d, "btnOk"); })) << c.name;
        EXPECT_EQ(c.emptyResult, c.result()) << c.name;
    }

    // Sub-items of item 7 are searched by their own number in the opening order.
    lookupResults().subItemFilterItem = 7;
    master::TFrmBuscarSubProducto d(tdb.session());
    for (auto [typed, expected] : {std::pair{"8", "8"}, {"9", "9"}, {"5", "8"}, {"99", "9"}}) {
        searchBox(d)->setText(QString::fromLatin1(typed));
        EXPECT_EQ(QString::fromLatin1(expected), currentIn(d, "SUBPRODUCTO")) << typed;
        EXPECT_EQ(QStringLiteral("7"), currentIn(d, "PRODUCTO")) << typed;
    }
}

TEST_F(LookupDialogTest, SearchTextMovesToTheNearestRowInTheChosenOrder) {
    struct Case {
        int order; // -1: as opened
        const char* typed;
        const char* nit;
    };
    const std::vector<Case> cases{
        {-1, "200", "200"}, {-1, "150", "200"},        {-1, "99999999999", "900123456"}, {-1, "abc", "100"},
        {1, "B", "200"},    {1, "C", "300"},           {1, "ZZZ", "900123456"},          {3, "C", "100"},
        {3, "BOG", "200"},  {2, "555-2", "900123456"}, {0, "301", "900123456"},
    };
    for (const Case& c : cases) {
        const std::string at = std::to_string(c.order) + " " + c.typed;
        master::TFrmBuscarProveedor d(tdb.session());
        if (c.order >= 0) QTest::mouseClick(d.orderButton(c.order), Qt::LeftButton);
        QTest::keyClicks(searchBox(d), QString::fromLatin1(c.typed));
        EXPECT_EQ(QString::fromLatin1(c.nit), currentIn(d, "NIT")) << at;
        // The grid stands on the same row.
        const QModelIndex current = grid(d)->currentIndex();
        ASSERT_TRUE(current.isValid()) << at;
        EXPECT_EQ(QString::fromLatin1(c.nit), shownText(d, current.row(), "NIT")) << at;
    }

    // Up and Down in the search box step through the rows in the order shown.
    master::TFrmBuscarProveedor d(tdb.session());
    QTest::mouseClick(d.orderButton(3), Qt::LeftButton);
    QStringList visited;
    // The row stays when the order changes: CALI, between BOGOTA and MEDELLIN.
    for (Qt::Key k :
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down}) {
        pressIn(searchBox(d), k);
        visited << currentIn(d, "CIUDAD");
    }
    EXPECT_EQ(QStringList({"MEDELLIN", "MEDELLIN", "CALI", "BOGOTA", "ARMENIA", "ARMENIA", "BOGOTA"}),
              visited);
}

TEST_F(LookupDialogTest, SelectionReordersTheGridAndKeepsTheRow) {
    lookupResults().addressFilterNit = 100;
    struct Case {
        const char* name;
        Factory make;
        int order;
        QString column;
        QStringList rows;
    };
    const std::vector<Case> cases{
        {"supplier by city",
         make<master::TFrmBuscarProveedor>(),
         3,
         "CIUDAD",
         {"ARMENIA", "BOGOTA", "CALI", "MEDELLIN"}},
        {"supplier by phone",
         make<master::TFrmBuscarProveedor>(),
         2,
         "TELEFONO",
         {"555-1", "555-2", "555-3", "555-4"}},
        // Addresses have no name: the name choice sorts by contact.
        {"address by name", make<master::TFrmBuscarDirecciones>(), 1, "CONTACTO", {"ANA", "ZOILA"}},
        {"item by number", make<master::TFrmBuscarProducto>(), 0, "PRODUCTO", {"7", "8", "9"}},
        {"cost centre by description",
         make<master::TFrmBuscarCentroCosto>(),
         1,
         "NOMBRE",
         {"ADMINISTRACION", "BODEGA", "OBRA NORTE"}},
    };
    for (const Case& c : cases) {
        auto d = c.make(tdb.session());
        pressIn(searchBox(*d), Qt::Key_Down);
        const QVariantList key = d->dataset().keyValues(d->dataset().current());
        QTest::mouseClick(d->orderButton(c.order), Qt::LeftButton);
        EXPECT_EQ(c.rows, columnTexts(*d, c.column)) << c.name;
        EXPECT_EQ(key, d->dataset().keyValues(d->dataset().current())) << c.name;
        EXPECT_EQ(key, d->model().keyAt(grid(*d)->currentIndex().row())) << c.name;
    }
}

TEST_F(LookupDialogTest, DialogsOpenWithTheirTextsAndOrder) {
    lookupResults().subItemFilterItem = 7;
    lookupResults().addressFilterNit = 100;
    struct Case {
        Factory make;
        QString title, label;
        QStringList choices;
        int checked;
        QStringList headers;
        QString firstColumn, firstRow; // the opening order shows this row first
    };
    const std::vector<Case> cases{
        {make<master::TFrmBuscarProveedor>(),
         "FrmBuscarProveedor",
         "Buscar nit: ",
         {"Por Nit", "Por Nombre Razon Social", "Por Telefono", "Por Ciudad"},
         -1,
         {"NIT", "DV", "NOMBRE", "DIRECCION", "TELEFONO", "FAX", "CIUDAD"},
         "NIT",
         "100"},
        {make<master::TFrmBuscarProducto>(),
         "FrmBuscarProducto",
         "Buscar Producto :",
         {"Producto", "Nombre", "Referencia", "Titulo", "Autor", "Editorial", "Tema", "Lote"},
         1,
         {"Codigo", "Producto", "Referencia", "Nombre Producto", "Unidad", "Valor Unidad", "Valor Iva",
          "TITULO", "AUTOR", "EDITORIAL", "TEMA", "LOTE"},
         "NOMBRE",
         "ARANDELA"},
        {make<master::TFrmBuscarSubProducto>(),
         "FrmBuscarSubProducto",
         "Buscar Producto :",
         {"Por SubProducto", "Por Nombre"},
         -1,
         {"Producto", "SubProducto", "Nombre"},
         "SUBPRODUCTO",
         "8"},
        {make<master::TFrmBuscarDirecciones>(),
         "FrmBuscarDirecciones",
         "Buscar nit: ",
         {"Por Nit", "Por Nombre Razon Social", "Por Telefono", "Por Ciudad"},
         -1,
         {"CONTACTO", "DIRECCION", "TELEFONO", "FAX", "CIUDAD", "PAIS", "EMAIL"},
         "CONTACTO",
         "ZOILA"},
        {make<master::TFrmBuscarCentroCosto>(),
         "FrmBuscarCentroCosto",
         "Buscar c.c.: ",
         {"Por Codigo", "Por Descripción"},
         -1,
         {"Centro de Costos", "Descripción"},
         "CENTROCOSTO",
         "A01"},
    };
    for (const Case& c : cases) {
        auto d = c.make(tdb.session());
        const std::string at = c.title.toStdString();
        EXPECT_EQ(c.title, d->windowTitle()) << at;
        EXPECT_EQ(c.label, d->findChild<QLabel*>(QStringLiteral("lblBuscar"))->text()) << at;
        EXPECT_EQ(QStringLiteral("Selección"),
                  d->findChild<QGroupBox*>(QStringLiteral("grpSeleccion"))->title())
            << at;
        QStringList choices;
        int checked = -1;
        for (int i = 0; d->orderButton(i); ++i) {
            choices << d->orderButton(i)->text();
            if (d->orderButton(i)->isChecked()) checked = i;
        }
        EXPECT_EQ(c.choices, choices) << at;
        EXPECT_EQ(c.checked, checked) << at;
        QStringList headers;
        for (int i = 0; i < d->model().columnCount(); ++i)
            headers << d->model().headerData(i, Qt::Horizontal).toString();
        EXPECT_EQ(c.headers, headers) << at;
        EXPECT_EQ(c.firstRow, currentIn(*d, c.firstColumn)) << at;
        EXPECT_EQ(c.firstRow, columnTexts(*d, c.firstColumn).value(0)) << at;
    }
}

TEST_F(LookupDialogTest, GridShowsPricesWithTheirMasksAndNitsAsDigits) {
    master::TFrmBuscarProducto items(tdb.session());
    EXPECT_EQ(QStringLiteral("1,234.50"), shownText(items, 0, "VALORUNIDAD"));
    EXPECT_EQ(QStringLiteral("16.000"), shownText(items, 0, "VALORIVA"));

    master::TFrmBuscarProveedor suppliers(tdb.session());
    EXPECT_EQ(QStringLiteral("900123456"), shownText(suppliers, 3, "NIT"));
}

} // namespace
