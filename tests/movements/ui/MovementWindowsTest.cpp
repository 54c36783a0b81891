// The chooser and the header window of movement documents, offscreen on a real database.

#include "movements/ui/TFrmMovimiento.h"
#include "movements/ui/OtherWindows.h"
#include "movements/ui/TFrmMovimientoBodegas.h"
#include "platform/db/Dataset.h"
#include "platform/db/DatasetModel.h"
#include "platform/db/Session.h"
#include "platform/ui/Messages.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

using movements::MovementChoice;
using movements::TFrmMovimientoBodegas;

class MovementWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* sql : {
                 "INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'CONSTRUCTORA')",
                 "INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (1, 'PRINCIPAL')",
                 "INSERT INTO PROVEEDORES (NIT, NOMBRE, DIRECCION) VALUES (800100200, 'CEMENTOS SA', 'CALLE 1')",
                 "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA) VALUES ('EA', 'ENTRADA', 'S', 'C')",
                 "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA) VALUES ('FV', 'FACTURA', 'R', 'V')",
                 "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA) VALUES ('POS', 'POS', 'R', 'V')",
             })
            s().execute(QString::fromLatin1(sql));
    }
    db::Session& s() { return tdb.session(); }
    MovementChoice choice(const char* code) {
        return {QStringLiteral("01"), *movements::DocumentType::byCode(s(), QString::fromLatin1(code))};
    }
    test::TestDatabase tdb;
};

QStringList shownTypes(const movements::TFrmMovimiento& w) {
    QStringList out;
    for (int i = 0; i < w.typeList()->count(); ++i)
        out << w.typeList()->item(i)->text();
    return out;
}

TEST_F(MovementWindows, TheChooserOffersTheUsersTypesFromTheFirstDisplay) {
    movements::TFrmMovimiento admin(s(), QStringLiteral("ADMIN"), QStringLiteral("1"));
    EXPECT_EQ(shownTypes(admin), (QStringList{QStringLiteral("ENTRADA"), QStringLiteral("FACTURA")}));
    EXPECT_EQ(admin.company(), QStringLiteral("01"));
    EXPECT_TRUE(admin.valuedIssues()->isChecked());
    EXPECT_FALSE(admin.costOfSales()->isChecked());

    movements::TFrmMovimiento seller(s(), QStringLiteral("PEDRO"), QStringLiteral("V"));
    EXPECT_EQ(shownTypes(seller), QStringList{QStringLiteral("FACTURA")});
    ASSERT_TRUE(seller.chosenType());
    EXPECT_EQ(seller.chosenType()->documento, QStringLiteral("FV"));
}

TEST_F(MovementWindows, ANewDocumentIsNumberedAndShownAlone) {
    ui::ScopedRecordingMessages messages;
    TFrmMovimientoBodegas w(s(), choice("EA"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Movimiento de Almacèn"));
    EXPECT_TRUE(w.dataset().isEmpty());
    w.button(ui::MasterWindow::Button::Insert)->click();
    EXPECT_EQ(w.currentKey().consecutivo, 1);
    w.button(ui::MasterWindow::Button::Insert)->click();
    EXPECT_EQ(w.currentKey().consecutivo, 2);
    EXPECT_EQ(w.model().rowCount(), 1); // only the new document
    const auto row = s().first(QStringLiteral(
        "SELECT STATUS, FACTURA, CLIENTE, DESPACHARA, BODEGA, TASA FROM MOVIMIENTO WHERE CONSECUTIVO = 2"));
    ASSERT_TRUE(row);
    EXPECT_EQ(row->at(0).toString(), QStringLiteral("G"));
    EXPECT_EQ(row->at(1).toInt(), 2);
    EXPECT_EQ(row->at(2).toDouble(), 800100200.0);
    EXPECT_EQ(row->at(3).toString(), QStringLiteral("CALLE 1"));
    EXPECT_EQ(row->at(4).toInt(), 1);
    EXPECT_EQ(row->at(5).toDouble(), 1.0);
    EXPECT_EQ(w.thirdPartyName()->text(), QStringLiteral("CEMENTOS SA"));
    EXPECT_TRUE(w.thirdPartyBox()->isHidden());
    EXPECT_TRUE(messages->shown.isEmpty());
}

TEST_F(MovementWindows, PostingFillsAnEmptyInvoiceDate) {
    s().execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, CLIENTE) "
                               "VALUES ('01', 'EA', 1, 1, '2026-03-10', 800100200)"));
    TFrmMovimientoBodegas w(s(), choice("EA"));
    w.startEdit();
    qobject_cast<QLineEdit*>(w.fieldWidget(QStringLiteral("TERMINOS")))->setText(QStringLiteral("CONTADO"));
    ASSERT_TRUE(w.post());
    EXPECT_EQ(s().scalar(QStringLiteral("SELECT FECHAFACTURA FROM MOVIMIENTO")).toDateTime().date(), QDate(2026, 3, 10));
}

TEST_F(MovementWindows, SearchRenumberAndDeleteGuard) {
    s().execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, CLIENTE) "
                               "VALUES ('01', 'EA', 1, 1, 800100200)"));
    s().execute(QStringLiteral("INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, "
                               "CANTIDAD) VALUES ('01', 'EA', 1, 1, 7, 3)"));
    ui::ScopedRecordingMessages messages;
    messages->answers = {true};
    TFrmMovimientoBodegas w(s(), choice("EA"));
    w.searchNumberBox()->setText(QStringLiteral("5"));
    EXPECT_FALSE(w.searchByNumber());
    EXPECT_EQ(messages->shown.takeLast(), QStringLiteral("Documento no Existe"));

    EXPECT_FALSE(w.remove());
    EXPECT_EQ(messages->shown.takeLast(),
              QStringLiteral("El Documento No. :  1  Tiene Movimiento por lo que no puede ser !!! BORRADO ¡¡¡"));

    EXPECT_TRUE(w.renumber(QStringLiteral("7")));
    EXPECT_EQ(w.currentKey().consecutivo, 7);
    EXPECT_EQ(s().scalar(QStringLiteral("SELECT CONSECUTIVO FROM MOVIMIENTODETALLE")).toInt(), 7);
    w.searchNumberBox()->setText(QStringLiteral("7"));
    EXPECT_TRUE(w.searchByNumber());
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join(QLatin1Char('|')).toStdString();
}

TEST_F(MovementWindows, BeforeTheLinesDuplicateInvoicesStopAnEntryAndUnknownThirdPartiesAreRegistered) {
    for (int n = 1; n <= 2; ++n)
        s().execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, CLIENTE, FACTURA, "
                                   "FECHA, FECHAFACTURA) VALUES ('01', 'EA', ?, 1, 800100200, 77, '2026-03-10', "
                                   "'2026-03-10')"),
                    {n});
    ui::ScopedRecordingMessages messages;
    {
        TFrmMovimientoBodegas w(s(), choice("EA"));
        EXPECT_FALSE(w.prepareLines()); // an entry ("Suma") with a repeated invoice stops here
        EXPECT_EQ(messages->shown, QStringList{QStringLiteral("Existen 2 Facuras en el sistema : [77]")});
    }
    messages->shown.clear();
    s().execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, CLIENTE, FACTURA, "
                               "FECHA, FECHAFACTURA) VALUES ('01', 'FV', 1, 1, 123456, 1, '2026-03-10', '2026-03-10')"));
    TFrmMovimientoBodegas w(s(), choice("FV"));
    ASSERT_FALSE(w.thirdPartyBox()->isHidden());
    auto* name = w.thirdPartyBox()->findChild<QLineEdit*>(QStringLiteral("edtTerceroNombre"));
    EXPECT_EQ(w.thirdPartyBox()->findChild<QLineEdit*>(QStringLiteral("edtTerceroCedula"))->text(),
              QStringLiteral("123456"));
    EXPECT_FALSE(w.prepareLines());
    EXPECT_EQ(messages->shown, QStringList{QStringLiteral("Escriba el nombre del tercero")});
    name->setText(QStringLiteral("JUAN PEREZ"));
    EXPECT_TRUE(w.prepareLines());
    EXPECT_EQ(s().scalar(QStringLiteral("SELECT NOMBRE FROM PROVEEDORES WHERE NIT = 123456")).toString(),
              QStringLiteral("JUAN PEREZ"));
    EXPECT_TRUE(w.thirdPartyBox()->isHidden());
}

} // namespace

namespace {

TEST_F(MovementWindows, AnOrderReceiptTakesItsSupplierFromTheOrder) {
    s().execute(QStringLiteral("INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, ORDENCOMPRA) "
                               "VALUES ('EN', 'ENTRADA POR ORDEN', 'S', 'C', 'S')"));
    s().execute(QStringLiteral("INSERT INTO PROVEEDORES (NIT, NOMBRE, DIRECCION) VALUES (860, 'ACEROS', 'VIA 40')"));
    s().execute(QStringLiteral("INSERT INTO ORDENCOMPRA (EMPRESA, CONSECUTIVO, PROVEEDOR) VALUES ('01', 12, 860)"));
    ui::ScopedRecordingMessages messages;
    TFrmMovimientoBodegas w(s(), choice("EN"));
    w.button(ui::MasterWindow::Button::Insert)->click();
    w.startEdit();
    auto* order = qobject_cast<QLineEdit*>(w.fieldWidget(QStringLiteral("ORDENCOMPRASALIDA")));
    order->setText(QStringLiteral("13"));
    EXPECT_FALSE(w.checkOrder());
    EXPECT_EQ(messages->shown, QStringList{QStringLiteral("Orden de Compra No Existe")});
    order->setText(QStringLiteral("12"));
    EXPECT_TRUE(w.checkOrder());
    ASSERT_TRUE(w.post());
    const auto row = s().first(QStringLiteral("SELECT ORDENCOMPRASALIDA, CLIENTE, DESPACHARA FROM MOVIMIENTO "
                                              "WHERE DOCUMENTO = 'EN'"));
    EXPECT_EQ(row->at(0).toInt(), 12);
    EXPECT_EQ(row->at(1).toDouble(), 860.0);
    EXPECT_EQ(row->at(2).toString(), QStringLiteral("VIA 40"));
    EXPECT_EQ(w.thirdPartyName()->text(), QStringLiteral("ACEROS"));
}

TEST_F(MovementWindows, UtilitiesOfOtherPartsAreCalledWithTheCurrentDocumentOrSayTheyAreNotThere) {
    ui::ScopedRecordingMessages messages;
    s().execute(QStringLiteral("INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, FACTURA, "
                               "FECHAFACTURA, CLIENTE, STATUS) VALUES ('01', 'EA', 7, 1, '2026-03-10', 7, "
                               "'2026-03-01', 800100200, 'G')"));
    TFrmMovimientoBodegas w(s(), choice("EA"));
    ASSERT_EQ(w.currentKey().consecutivo, 7);

    // Nothing is installed yet: each button says so.
    w.findChild<QPushButton*>(QStringLiteral("btnRecontabiliza"))->click();
    EXPECT_EQ(messages->shown.takeLast(), movements::kNotInstalled);

    std::vector<std::pair<int, int>> transfers;
    std::vector<movements::DocumentPrint> printed;
    auto& other = movements::otherWindows();
    other.remissionTransfer = [&](const movements::HeaderKey& k, int number, QWidget*) {
        transfers.emplace_back(k.consecutivo, number);
    };
    other.printing = [&](const movements::DocumentPrint& p, QWidget*) { printed.push_back(p); };
    auto* number = w.findChild<QLineEdit*>(QStringLiteral("edtCargar"));
    EXPECT_EQ(number->text(), QStringLiteral("1"));
    number->setText(QStringLiteral("doce"));
    w.findChild<QPushButton*>(QStringLiteral("btnCargar"))->click();
    EXPECT_EQ(messages->shown.takeLast(), QStringLiteral("Escriba el número a cargar"));
    number->setText(QStringLiteral("12"));
    w.findChild<QPushButton*>(QStringLiteral("btnCargar"))->click();
    w.findChild<QPushButton*>(QStringLiteral("btnReimprimir"))->click();
    other = {};
    EXPECT_EQ(transfers, (std::vector<std::pair<int, int>>{{7, 12}}));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].document.consecutivo, 7);
    EXPECT_EQ(printed[0].type.documento, QStringLiteral("EA"));

    // An entry is no production issue: its invoice date is corrected and nothing else opens.
    w.findChild<QPushButton*>(QStringLiteral("btnOrdenProduccion"))->click();
    EXPECT_EQ(s().scalar(QStringLiteral("SELECT FECHAFACTURA FROM MOVIMIENTO WHERE CONSECUTIVO = 7")).toDate(),
              QDate(2026, 3, 10));
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join(QLatin1Char('|')).toStdString();

    movements::TFrmMovimiento chooser(s(), QStringLiteral("ADMIN"), QStringLiteral("1"));
    EXPECT_TRUE(chooser.findChild<QPushButton*>(QStringLiteral("btnAjustesInflacion"))->isHidden());
    EXPECT_TRUE(chooser.findChild<QPushButton*>(QStringLiteral("btnCargaVentas"))->isHidden());
    EXPECT_TRUE(w.findChild<QPushButton*>(QStringLiteral("btnVentaJoyas"))->isHidden());
}

} // namespace
