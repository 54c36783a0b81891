// The line grid of a movement document, driven offscreen: a sale typed line by line.

#include "movements/ui/TFrmMovimientoBodega.h"
#include "platform/db/Session.h"
#include "platform/ui/Messages.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace {

using G = movements::TFrmMovimientoBodega;

void seedSale(db::Session& s) {
    for (const char* sql : {
             "INSERT INTO EMPRESAS (EMPRESA, NOMBRE) VALUES ('01', 'CONSTRUCTORA')",
             "INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (1, 'PRINCIPAL')",
             "INSERT INTO PROVEEDORES (NIT, NOMBRE, AUTERRETENEDOR) VALUES (900, 'CLIENTE SA', 'S')",
             "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, OPERADOR, ENTRA, CONTROLASALDO, SUBPRODUCTO, CUENTAS) "
             "VALUES ('FV', 'FACTURA DE VENTA', 'R', 'V', 'S', 'N', 'N')",
             "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, UNIDADS, NOMBRE, VALORUNIDAD, "
             "VALORIVA, VALORPROMEDIO) VALUES ('01-1-7', '01', 1, 7, 'UN', 'UN', 'CEMENTO GRIS', 1000, 0, 800)",
             // Ten units in the warehouse from an earlier entry.
             "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA) VALUES ('01', 'EA', 1, 1, "
             "'2026-01-05')",
             "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, BODEGA, CANTIDAD, "
             "PRECIOUNIDAD, SUBTOTAL) VALUES ('01', 'EA', 1, 1, 7, 1, 10, 800, 8000)",
             "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, CLIENTE, STATUS, TASA) "
             "VALUES ('01', 'FV', 1, 1, '2026-02-01', 900, 'G', 1)",
         })
        s.execute(QString::fromLatin1(sql));
}

TEST(LineGrid, ASaleTypedInTheGridIsSignedCheckedPostedAndClosed) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    seedSale(s);
    ui::ScopedRecordingMessages messages;
    movements::MovementChoice choice{QStringLiteral("01"), *movements::DocumentType::byCode(s, QStringLiteral("FV"))};
    G w(s, choice, 1);
    auto* grid = w.grid();
    ASSERT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(w.retentionPercent()->text(), QStringLiteral("2.5"));

    grid->item(0, G::Producto)->setText(QStringLiteral("7"));
    ASSERT_TRUE(w.leaveCell(0, G::Producto));
    EXPECT_EQ(grid->item(0, G::Nombre)->text(), QStringLiteral("CEMENTO GRIS"));
    EXPECT_EQ(grid->item(0, G::Valor)->text(), QStringLiteral("1,000.00"));

    grid->item(0, G::Cantidad)->setText(QStringLiteral("12"));
    EXPECT_FALSE(w.leaveCell(0, G::Cantidad)); // more than the ten in the warehouse
    EXPECT_EQ(messages->shown.takeLast(), QStringLiteral("El Saldo es Menor(<) a la Cantidad a Retirar"));
    EXPECT_TRUE(w.balanceStatus().startsWith(QStringLiteral("10.00  7 CEMENTO GRIS")));

    grid->item(0, G::Cantidad)->setText(QStringLiteral("3"));
    ASSERT_TRUE(w.leaveCell(0, G::Cantidad));
    EXPECT_EQ(grid->item(0, G::Cantidad)->text(), QStringLiteral("-3.00"));
    ASSERT_TRUE(w.postRow(0)) << messages->shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(grid->rowCount(), 2); // a new empty line follows

    const auto line = s.first(QStringLiteral("SELECT LINEA, CANTIDAD, PRECIOUNIDAD, SUBTOTAL, BODEGA FROM "
                                             "MOVIMIENTODETALLE WHERE DOCUMENTO = 'FV'"));
    ASSERT_TRUE(line);
    EXPECT_EQ(line->at(0).toInt(), 1);
    EXPECT_EQ(line->at(1).toDouble(), -3.0);
    EXPECT_EQ(line->at(2).toDouble(), 1000.0);
    EXPECT_EQ(line->at(3).toDouble(), 3000.0);
    EXPECT_EQ(line->at(4).toInt(), 1);
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT NETO FROM MOVIMIENTO WHERE DOCUMENTO = 'FV'")).toDouble(), 3000.0);

    // Editing the posted line: its own three units are given back before the balance is compared.
    grid->item(0, G::Cantidad)->setText(QStringLiteral("10"));
    EXPECT_TRUE(w.leaveCell(0, G::Cantidad));
    ASSERT_TRUE(w.postRow(0)) << messages->shown.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT SUBTOTAL FROM MOVIMIENTO WHERE DOCUMENTO = 'FV'")).toDouble(), 10000.0);

    w.accept(); // closing marks the document closed; this type does not post to accounting
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT STATUS FROM MOVIMIENTO WHERE DOCUMENTO = 'FV'")).toString(),
              QStringLiteral("C"));
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join(QLatin1Char('|')).toStdString();
}

TEST(LineGrid, HeaderFieldsAreStoredShortCaptureHidesColumnsAndPrintingAsksForTheLayout) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    seedSale(s);
    s.execute(QStringLiteral("UPDATE DOCUMENTOS SET INFORME = 3 WHERE DOCUMENTO = 'FV'"));
    ui::ScopedRecordingMessages messages;
    movements::MovementChoice choice{QStringLiteral("01"), *movements::DocumentType::byCode(s, QStringLiteral("FV"))};
    choice.shortCapture = true;
    std::vector<movements::DocumentPrint> printed;
    movements::otherWindows().printing = [&](const movements::DocumentPrint& p, QWidget*) { printed.push_back(p); };
    G w(s, choice, 1);

    for (int c : {G::Costo, G::PctIva, G::ValorDescuento, G::Observacion})
        EXPECT_TRUE(w.grid()->isColumnHidden(c)) << c;
    EXPECT_FALSE(w.grid()->isColumnHidden(G::Cantidad));
    EXPECT_TRUE(w.findChild<QPushButton*>(QStringLiteral("btnCopias"))->isHidden());

    const auto type = [&](const char* name, const QString& text) {
        auto* e = w.findChild<QLineEdit*>(QString::fromLatin1(name));
        e->setText(text);
        emit e->textEdited(text);
    };
    // A term that is not a number keeps the window open and the document as it was.
    type("edtPlazo", QStringLiteral("treinta"));
    w.accept();
    EXPECT_EQ(messages->shown.takeLast(), QStringLiteral("El plazo debe ser un número entero de días"));
    EXPECT_EQ(s.scalar(QStringLiteral("SELECT STATUS FROM MOVIMIENTO WHERE DOCUMENTO = 'FV'")).toString(),
              QStringLiteral("G"));

    type("edtPlazo", QStringLiteral("30"));
    type("edtFlete", QStringLiteral("1,500"));
    w.findChild<QPlainTextEdit*>(QStringLiteral("memObservaciones"))->setPlainText(QStringLiteral("Obra norte"));
    ASSERT_TRUE(w.print()) << messages->shown.join(QLatin1Char('|')).toStdString();
    const auto h = s.first(QStringLiteral("SELECT PLAZO, FLETE, OBSERVACIONES, RETENCION FROM MOVIMIENTO "
                                          "WHERE DOCUMENTO = 'FV'"));
    EXPECT_EQ(h->at(0).toInt(), 30);
    EXPECT_EQ(h->at(1).toDouble(), 1500.0);
    EXPECT_EQ(h->at(2).toString(), QStringLiteral("Obra norte"));
    EXPECT_EQ(h->at(3).toDouble(), 0.0); // 2.5 % of an empty document
    EXPECT_EQ(w.findChild<QLineEdit*>(QStringLiteral("edtRetencionValor"))->text(), QStringLiteral(".00"));
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0].document.consecutivo, 1);
    EXPECT_TRUE(printed[0].layout.isEmpty()); // the layout the type's INFORME names
    movements::otherWindows().printing = nullptr;
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join(QLatin1Char('|')).toStdString();
}

} // namespace
