#include "movements/ui/TFrmMovimientoBodega.h"

#include "master/ui/lookup/LookupResults.h"
#include "master/ui/lookup/TFrmBuscarCentroCosto.h"
#include "master/ui/lookup/TFrmBuscarDirecciones.h"
#include "master/ui/lookup/TFrmBuscarProducto.h"
#include "master/ui/lookup/TFrmBuscarSubProducto.h"
#include "movements/PosExport.h"
#include "platform/db/DbError.h"
#include "platform/db/Row.h"
#include "platform/db/Session.h"
#include "platform/numbers/Format.h"
#include "platform/ui/GridStyle.h"
#include "platform/ui/Messages.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <stdexcept>

namespace movements {

namespace {

using C = TFrmMovimientoBodega::Column;

const char* const kTitles[] = {"Linea",  "Producto",     "Nombre",      "SubP",      "Subproducto", "Referencia",
                               "Unidad", "C.Costos",     "Cantidad",    "Valor",     "Costo Unidad", "% Descuento",
                               "% IVA",  "SUBTOTAL",     "Valor Iva",   "Valor Descuento", "OBSERVACION"};

const QString kMoney = QStringLiteral("###,###.00");
const QString kQuantity = QStringLiteral("###,###.00##");

// Where a stored line keeps what the grid needs to know of it.
constexpr int kLinea = Qt::UserRole;          // on the Linea cell: the line number, 0 for a new line
constexpr int kStored = Qt::UserRole + 1;     // on the Linea cell: the quantity stored in the database
constexpr int kDirty = Qt::UserRole + 2;      // on the Linea cell: typed since the last post
constexpr int kValue = Qt::UserRole + 3;      // on number cells: the value behind the shown text
constexpr int kProduct = Qt::UserRole + 4;    // on the Producto cell: the item the defaults came from
constexpr int kShown = Qt::UserRole + 5;      // on every cell: the text shown for kValue

bool editable(int column, const DocumentType& type) {
    switch (column) {
    case C::Producto:
    case C::SubP:
    case C::Unidad:
    case C::CCostos:
    case C::Cantidad:
    case C::PctDescuento:
    case C::Subtotal:
    case C::Observacion:
        return true;
    case C::Valor:
        return type.documento == QStringLiteral("DA");
    default:
        return false;
    }
}

} // namespace

TFrmMovimientoBodega::TFrmMovimientoBodega(db::Session& session, MovementChoice choice, int consecutivo,
                                           QWidget* parent)
    : QDialog(parent), session_(session), choice_(std::move(choice)),
      key_{choice_.empresa, choice_.type.documento, consecutivo}, rules_(session) {
    setObjectName(QStringLiteral("TFrmMovimientoBodega"));
    setWindowTitle(QStringLiteral("R"));
    const auto header = session_.first(
        QStringLiteral("SELECT M.BODEGA, M.CLIENTE, P.NOMBRE, M.DESPACHARA, E.NOMBRE FROM MOVIMIENTO M "
                       "LEFT JOIN PROVEEDORES P ON P.NIT = M.CLIENTE LEFT JOIN EMPRESAS E ON E.EMPRESA = M.EMPRESA "
                       "WHERE M.EMPRESA = ? AND M.DOCUMENTO = ? AND M.CONSECUTIVO = ?"),
        {key_.empresa, key_.documento, key_.consecutivo});
    if (!header) throw db::DbError(HeaderRules::kNotFound, 0, {});
    bodega_ = header->at(0).toInt();

    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    const auto bold = [this](const QString& text, const char* name) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        return l;
    };
    top->addWidget(bold(header->at(4).toString(), "lblEmpresa"), 0, 0);
    top->addWidget(bold(choice_.type.nombre + QStringLiteral("  No. ") + QString::number(consecutivo), "lblDocumento"),
                   0, 1);
    thirdParty_ = bold(numbers::formatValue(header->at(1)) + QStringLiteral("  ") + header->at(2).toString(),
                       "lblTercero");
    top->addWidget(thirdParty_, 1, 0);
    layout->addLayout(top);

    // The header fields shown here, stored when one of them is left and before printing or closing.
    auto* fields = new QGridLayout;
    const auto edit = [this](const char* name, int width) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        if (width > 0) e->setMaximumWidth(width);
        connect(e, &QLineEdit::textEdited, this, [this] { headerEdited_ = true; });
        connect(e, &QLineEdit::editingFinished, this, [this] { saveHeader(); });
        return e;
    };
    const auto caption = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    despachara_ = edit("edtDespachara", 0);
    despachara_->setMaxLength(60);
    despachara_->setToolTip(QStringLiteral("Doble clic: direcciones del tercero"));
    despachara_->installEventFilter(this);
    plazo_ = edit("edtPlazo", 60);
    flete_ = edit("edtFlete", 110);
    retencion_ = edit("edtRetencionValor", 110);
    reteica_ = edit("edtReteica", 110);
    reteiva_ = edit("edtReteiva", 110);
    for (QLineEdit* e : {plazo_, flete_, retencion_, reteica_, reteiva_}) e->setAlignment(Qt::AlignRight);
    observaciones_ = new QPlainTextEdit(this);
    observaciones_->setObjectName(QStringLiteral("memObservaciones"));
    observaciones_->setTabChangesFocus(true);
    observaciones_->setMaximumHeight(48);
    observaciones_->installEventFilter(this);
    connect(observaciones_, &QPlainTextEdit::textChanged, this, [this] {
        if (!savingHeader_) headerEdited_ = true;
    });
    fields->addWidget(caption("Despachar a :"), 0, 0);
    fields->addWidget(despachara_, 0, 1, 1, 5);
    fields->addWidget(caption("Plazo"), 0, 6);
    fields->addWidget(plazo_, 0, 7);
    fields->addWidget(caption("FLETE:"), 1, 0);
    fields->addWidget(flete_, 1, 1);
    fields->addWidget(caption("RETENCION:"), 1, 2);
    fields->addWidget(retencion_, 1, 3);
    fields->addWidget(caption("RTEICA:"), 1, 4);
    fields->addWidget(reteica_, 1, 5);
    fields->addWidget(caption("RTEIVA:"), 1, 6);
    fields->addWidget(reteiva_, 1, 7);
    fields->addWidget(caption("Observaciones"), 2, 0, Qt::AlignTop);
    fields->addWidget(observaciones_, 2, 1, 1, 7);
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);
    fields->setColumnStretch(5, 1);
    layout->addLayout(fields);

    auto* retentionRow = new QHBoxLayout;
    const double percent = DocumentCompletion::defaultRetentionPercent(session_, key_);
    auto* withholds = new QCheckBox(QStringLiteral("Retencion"), this);
    withholds->setObjectName(QStringLiteral("chkRetencion"));
    withholds->setChecked(percent > 0);
    retention_ = new QLineEdit(numbers::formatValue(percent), this);
    retention_->setObjectName(QStringLiteral("edtRetencion"));
    retention_->setMaximumWidth(60);
    connect(withholds, &QCheckBox::toggled, this, [this](bool on) {
        retention_->setText(on ? QStringLiteral("2.5") : QStringLiteral("0"));
    });
    barcodes_ = new QCheckBox(QStringLiteral("Habilitar Lector Barras"), this);
    barcodes_->setObjectName(QStringLiteral("chkLectorBarras"));
    retentionRow->addWidget(withholds);
    retentionRow->addWidget(retention_);
    retentionRow->addSpacing(20);
    retentionRow->addWidget(barcodes_);
    retentionRow->addStretch();
    layout->addLayout(retentionRow);

    grid_ = new QTableWidget(0, ColumnCount, this);
    grid_->setObjectName(QStringLiteral("grdLineas"));
    QStringList titles;
    for (const char* t : kTitles)
        titles << QString::fromUtf8(t);
    grid_->setHorizontalHeaderLabels(titles);
    ui::styleGrid(grid_);
    grid_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::DoubleClicked);
    grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid_->setColumnHidden(C::CCostos, choice_.type.centroCostos != QStringLiteral("S"));
    grid_->setColumnHidden(C::SubP, choice_.type.subproducto != QStringLiteral("S"));
    grid_->setColumnHidden(C::Subproducto, choice_.type.subproducto != QStringLiteral("S"));
    for (int c : {C::Costo, C::PctIva, C::ValorDescuento, C::Observacion}) grid_->setColumnHidden(c, choice_.shortCapture);
    grid_->installEventFilter(this);
    const int widths[ColumnCount] = {44, 70, 240, 50, 150, 100, 50, 70, 80, 95, 95, 80, 55, 105, 90, 100, 200};
    for (int c = 0; c < ColumnCount; ++c)
        grid_->setColumnWidth(c, widths[c]);
    layout->addWidget(grid_, 1);

    auto* totals = new QHBoxLayout;
    totals->addStretch();
    const auto total = [&](const char* text, const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(130);
        totals->addWidget(caption(text));
        totals->addWidget(e);
        return e;
    };
    subtotal_ = total("SUBTOTAL", "edtSubtotal");
    descuento_ = total("DESCUENTO", "edtDescuento");
    iva_ = total("IVA", "edtIva");
    neto_ = total("TOTAL", "edtNeto");
    layout->addLayout(totals);
    auto* status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("Saldo Bodega"), this));
    balanceStatus_ = new QLabel(this);
    balanceStatus_->setObjectName(QStringLiteral("lblSaldoBodega"));
    status->addWidget(balanceStatus_, 1);
    status->addWidget(new QLabel(QStringLiteral("Conversiòn"), this));
    conversionStatus_ = new QLabel(this);
    conversionStatus_->setObjectName(QStringLiteral("lblConversion"));
    status->addWidget(conversionStatus_, 1);
    layout->addLayout(status);

    auto* buttons = new QHBoxLayout;
    auto* print = new QPushButton(QStringLiteral("&Imprimir"), this);
    print->setObjectName(QStringLiteral("btnImprimir"));
    print->setAutoDefault(false);
    connect(print, &QPushButton::clicked, this, [this] { TFrmMovimientoBodega::print(); });
    auto* remove = new QPushButton(QStringLiteral("Borrar Linea"), this);
    remove->setObjectName(QStringLiteral("btnBorrarLinea"));
    remove->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, [this] { deleteRow(grid_->currentRow()); });
    auto* back = new QPushButton(QStringLiteral("<< DOCUMENTO  MOVIMIENTO"), this);
    back->setObjectName(QStringLiteral("btnDocumento"));
    back->setAutoDefault(false);
    connect(back, &QPushButton::clicked, this, &QDialog::accept);
    // Two copies in the KV layout; hidden, as it was at design time.
    auto* copies = new QPushButton(QStringLiteral("Copias"), this);
    copies->setObjectName(QStringLiteral("btnCopias"));
    copies->setAutoDefault(false);
    copies->hide();
    connect(copies, &QPushButton::clicked, this, [this] {
        openOther(otherWindows().printing, this,
                  DocumentPrint{.document = key_, .type = choice_.type, .layout = QStringLiteral("KV"), .copies = 2});
    });
    buttons->addWidget(print);
    buttons->addWidget(copies);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(back);
    layout->addLayout(buttons);

    loadLines();
    showHeaderFields();
    connect(grid_, &QTableWidget::currentCellChanged, this, &TFrmMovimientoBodega::cellMoved);
    connect(grid_, &QTableWidget::cellDoubleClicked, this, &TFrmMovimientoBodega::cellDoubleClicked);
    connect(grid_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (moving_ || !item) return;
        if (auto* first = grid_->item(item->row(), C::Linea)) {
            moving_ = true;
            first->setData(kDirty, true);
            moving_ = false;
        }
    });
    resize(1100, 600);
}

TFrmMovimientoBodega::~TFrmMovimientoBodega() = default;

void TFrmMovimientoBodega::setCell(int row, int column, const QVariant& value, const QString& mask) {
    const bool was = moving_;
    moving_ = true;
    QTableWidgetItem* item = grid_->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid_->setItem(row, column, item);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (editable(column, choice_.type)) flags |= Qt::ItemIsEditable;
    item->setFlags(flags);
    const bool isNumber = value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Int;
    item->setData(kValue, value);
    item->setText(value.isNull() || !value.isValid() ? QString() : numbers::formatValue(value, mask));
    item->setData(kShown, item->text());
    if (isNumber) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    moving_ = was;
}

void TFrmMovimientoBodega::addEmptyRow() {
    const int row = grid_->rowCount();
    grid_->insertRow(row);
    for (int c = 0; c < ColumnCount; ++c)
        setCell(row, c, QVariant());
    grid_->item(row, C::Linea)->setData(kLinea, 0);
    grid_->item(row, C::Linea)->setData(kStored, 0.0);
}

void TFrmMovimientoBodega::loadLines() {
    moving_ = true;
    grid_->setRowCount(0);
    const auto rows = session_.all(
        QStringLiteral("SELECT D.LINEA, D.PRODUCTO, P.NOMBRE, D.SUBPRODUCTO, P.REFERENCIA, D.UNIDADMOVIMIENTO, "
                       "D.CENTROCOSTOS, D.CANTIDAD, D.PRECIOUNIDAD, D.COSTO, D.DESCUENTO, D.IVA, D.SUBTOTAL, D.VALORIVA, "
                       "D.VALORDESCUENTO, D.OBSERVACION, D.UNIDADCOMPRA, D.CANTIDADRECIBIDA "
                       "FROM MOVIMIENTODETALLE D LEFT JOIN PRODUCTOS P ON P.PRODUCTO = D.PRODUCTO "
                       "WHERE D.EMPRESA = ? AND D.DOCUMENTO = ? AND D.CONSECUTIVO = ? ORDER BY D.LINEA"),
        {key_.empresa, key_.documento, key_.consecutivo});
    for (const db::Row& r : rows) {
        const int row = grid_->rowCount();
        grid_->insertRow(row);
        MovementLine line;
        line.linea = r.at(0).toInt();
        line.producto = r.at(1).toInt();
        line.subproducto = r.at(3);
        line.unidadMovimiento = r.at(5).toString();
        line.centroCostos = r.at(6).toString();
        line.cantidad = r.at(7).toDouble();
        line.precioUnidad = r.at(8).toDouble();
        line.costo = r.at(9).toDouble();
        line.descuento = r.at(10).toDouble();
        line.iva = r.at(11).toDouble();
        line.subtotal = r.at(12).toDouble();
        line.valorIva = r.at(13).toDouble();
        line.valorDescuento = r.at(14).toDouble();
        line.observacion = r.at(15).toString();
        line.unidadCompra = r.at(16).toString();
        line.cantidadRecibida = r.at(17);
        showLine(row, line);
        setCell(row, C::Nombre, r.at(2));
        setCell(row, C::Referencia, r.at(4));
    }
    addEmptyRow();
    moving_ = false;
    showTotals();
}

void TFrmMovimientoBodega::showLine(int row, const MovementLine& l) {
    setCell(row, C::Linea, l.linea > 0 ? QVariant(l.linea) : QVariant());
    auto* first = grid_->item(row, C::Linea);
    first->setData(kLinea, l.linea);
    first->setData(kStored, l.cantidad);
    first->setData(kDirty, false);
    setCell(row, C::Producto, l.producto);
    grid_->item(row, C::Producto)->setData(kProduct, l.producto);
    setCell(row, C::SubP, l.subproducto);
    if (choice_.type.subproducto == QStringLiteral("S"))
        setCell(row, C::Subproducto, LineRules::subItemName(session_, l.producto, l.subproducto));
    setCell(row, C::Unidad, l.unidadMovimiento);
    setCell(row, C::CCostos, l.centroCostos);
    setCell(row, C::Cantidad, l.cantidad, kQuantity);
    setCell(row, C::Valor, l.precioUnidad, kMoney);
    setCell(row, C::Costo, l.costo, kMoney);
    setCell(row, C::PctDescuento, l.descuento);
    setCell(row, C::PctIva, l.iva);
    setCell(row, C::Subtotal, l.subtotal, kMoney);
    setCell(row, C::ValorIva, l.valorIva, kMoney);
    setCell(row, C::ValorDescuento, l.valorDescuento, kMoney);
    setCell(row, C::Observacion, l.observacion);
}

void TFrmMovimientoBodega::showTotals() {
    const auto t = session_.first(QStringLiteral("SELECT SUBTOTAL, DESCUENTO, IVA, NETO FROM MOVIMIENTO "
                                                 "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
                                  {key_.empresa, key_.documento, key_.consecutivo});
    if (!t) return;
    subtotal_->setText(numbers::formatValue(t->at(0), kMoney));
    descuento_->setText(numbers::formatValue(t->at(1), kMoney));
    iva_->setText(numbers::formatValue(t->at(2), kMoney));
    neto_->setText(numbers::formatValue(t->at(3), kMoney));
}

void TFrmMovimientoBodega::showHeaderFields() {
    const HeaderFields f = DocumentCompletion::headerFields(session_, key_);
    savingHeader_ = true;
    despachara_->setText(f.despachara);
    plazo_->setText(f.plazo);
    flete_->setText(f.flete);
    retencion_->setText(f.retencion);
    reteica_->setText(f.reteica);
    reteiva_->setText(f.reteiva);
    observaciones_->setPlainText(f.observaciones);
    savingHeader_ = false;
    headerEdited_ = false;
}

bool TFrmMovimientoBodega::saveHeader() {
    if (!headerEdited_ || savingHeader_) return true;
    // The message box below takes the focus, which finishes the edit once more.
    savingHeader_ = true;
    bool saved = false;
    try {
        DocumentCompletion::saveHeaderFields(
            session_, key_,
            {despachara_->text(), plazo_->text(), flete_->text(), retencion_->text(), reteica_->text(),
             reteiva_->text(), observaciones_->toPlainText()});
        headerEdited_ = false;
        saved = true;
    } catch (const std::invalid_argument& e) {
        ui::Messages::current().warning(this, QString::fromUtf8(e.what()));
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    }
    savingHeader_ = false;
    return saved;
}

void TFrmMovimientoBodega::chooseAddress() {
    const QVariant nit = session_.scalar(
        QStringLiteral("SELECT CLIENTE FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
        {key_.empresa, key_.documento, key_.consecutivo});
    master::lookupResults().addressFilterNit = nit.toDouble();
    master::TFrmBuscarDirecciones search(session_, this);
    if (search.exec() != QDialog::Accepted) return;
    despachara_->setText(master::lookupResults().address.left(60));
    headerEdited_ = true;
    saveHeader();
}

QString TFrmMovimientoBodega::balanceStatus() const {
    return balanceStatus_->text();
}

QString TFrmMovimientoBodega::text(int row, int column) const {
    const auto* item = grid_->item(row, column);
    return item ? item->text().trimmed() : QString();
}

// The value of a number cell: what was shown stays exactly as it was stored; typed text is read
// with the fixed separators, and what is not a number counts as 0.
double TFrmMovimientoBodega::number(int row, int column) const {
    const auto* item = grid_->item(row, column);
    if (!item) return 0;
    if (item->text() == item->data(kShown).toString()) return item->data(kValue).toDouble();
    return numbers::parseNumber(item->text()).value_or(0.0);
}

bool TFrmMovimientoBodega::isNew(int row) const {
    const auto* first = grid_->item(row, C::Linea);
    return !first || first->data(kLinea).toInt() == 0;
}

MovementLine TFrmMovimientoBodega::lineOf(int row) const {
    MovementLine l;
    l.linea = grid_->item(row, C::Linea)->data(kLinea).toInt();
    l.producto = text(row, C::Producto).toInt();
    const QString sub = text(row, C::SubP);
    l.subproducto = sub.isEmpty() ? QVariant() : QVariant(sub.toInt());
    l.unidadMovimiento = text(row, C::Unidad);
    l.unidadCompra = l.unidadMovimiento;
    l.centroCostos = text(row, C::CCostos);
    l.cantidad = number(row, C::Cantidad);
    l.precioUnidad = number(row, C::Valor);
    l.descuento = number(row, C::PctDescuento);
    l.subtotal = number(row, C::Subtotal);
    l.observacion = text(row, C::Observacion);
    l.cantidadRecibida = l.cantidad;
    l.bodega = bodega_;
    return l;
}

bool TFrmMovimientoBodega::leaveCell(int row, int column) {
    if (row < 0 || row >= grid_->rowCount()) return true;
    auto& messages = ui::Messages::current();
    switch (column) {
    case C::Producto: {
        const QString typed = text(row, C::Producto);
        if (typed.isEmpty()) return true;
        const auto item = LineCellRules::item(session_, typed);
        if (!item) return false;
        // The defaults follow a new item only, so revisiting the cell keeps what was typed since.
        if (grid_->item(row, C::Producto)->data(kProduct).toInt() == item->producto) return true;
        setCell(row, C::Producto, item->producto);
        grid_->item(row, C::Producto)->setData(kProduct, item->producto);
        setCell(row, C::Nombre, item->nombre);
        setCell(row, C::Referencia, item->referencia);
        setCell(row, C::Unidad, item->unidad);
        setCell(row, C::CCostos, QStringLiteral("01"));
        setCell(row, C::Valor, LineCellRules::priceForItem(number(row, C::Valor), *item, choice_.type,
                                                           choice_.valuedIssues),
                kMoney);
        if (item->grupo == LineCellRules::kCostCentreGroup) {
            bool ok = false;
            const QString centre = QInputDialog::getText(this, QStringLiteral("Centro de Costos"),
                                                         QStringLiteral("Codigo Centro de Costos"),
                                                         QLineEdit::Normal, QString(), &ok)
                                       .trimmed();
            if (!ok || centre.isEmpty() || !LineCellRules::costCentreExists(session_, centre)) return false;
            setCell(row, C::CCostos, centre);
        }
        return true;
    }
    case C::SubP: {
        if (choice_.type.subproducto != QStringLiteral("S") || text(row, C::Producto).isEmpty()) return true;
        const QString typed = text(row, C::SubP);
        if (!typed.isEmpty() && LineRules::subItemName(session_, text(row, C::Producto).toInt(), typed.toInt()) !=
                                    LineRules::kNoSubItem)
            return true;
        master::lookupResults().subItemFilterItem = text(row, C::Producto).toInt();
        master::TFrmBuscarSubProducto search(session_, this);
        if (search.exec() == QDialog::Accepted) setCell(row, C::SubP, master::lookupResults().subItem);
        return false;
    }
    case C::Cantidad: {
        const double typed = number(row, C::Cantidad);
        const double quantity = LineCellRules::signedQuantity(typed, choice_.type);
        if (quantity != typed || grid_->item(row, C::Cantidad)->text() != numbers::formatValue(quantity, kQuantity))
            setCell(row, C::Cantidad, quantity, kQuantity);
        if (choice_.type.subproducto == QStringLiteral("S") || text(row, C::Producto).isEmpty()) return true;
        const auto item = LineCellRules::item(session_, text(row, C::Producto));
        if (!item) return true;
        const double balance = LineCellRules::warehouseBalance(session_, key_.empresa, item->producto, bodega_);
        balanceStatus_->setText(LineCellRules::balanceText(balance, *item));
        const double stored = grid_->item(row, C::Linea)->data(kStored).toDouble();
        const QString refusal = LineCellRules::checkBalance(quantity, balance, isNew(row) ? 0 : stored, choice_.type);
        if (!refusal.isEmpty()) {
            messages.warning(this, refusal);
            return false;
        }
        return true;
    }
    case C::CCostos: {
        const QString centre = text(row, C::CCostos);
        if (centre.isEmpty() || LineCellRules::costCentreExists(session_, centre)) return true;
        messages.warning(this, LineCellRules::kNoCostCentre);
        return false;
    }
    case C::Subtotal: {
        if (!isNew(row)) return true;
        const auto price =
            LineCellRules::priceFromSubtotal(number(row, C::Subtotal), subtotalBefore_, number(row, C::Cantidad));
        if (price) setCell(row, C::Valor, *price, kMoney);
        return true;
    }
    default:
        return true;
    }
}

bool TFrmMovimientoBodega::postRow(int row) {
    if (row < 0 || row >= grid_->rowCount() || text(row, C::Producto).isEmpty()) return true;
    auto* first = grid_->item(row, C::Linea);
    if (!isNew(row) && !first->data(kDirty).toBool()) return true;
    LineOptions options;
    options.valuedIssues = choice_.valuedIssues;
    options.vatWithDiscount = choice_.vatWithDiscount;
    options.confirmConversion = [this](const QString&, const QString&) {
        return ui::Messages::current().confirm(this, LineRules::kConvertQuestion);
    };
    const bool wasLast = row == grid_->rowCount() - 1;
    try {
        const PostedLine posted = rules_.post(key_, lineOf(row), isNew(row), options);
        showLine(row, posted.line);
        conversionStatus_->setText(posted.conversion);
    } catch (const LineRefused& e) {
        ui::Messages::current().warning(this, e.message());
        return false;
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
        return false;
    }
    if (wasLast) addEmptyRow();
    showTotals();
    return true;
}

bool TFrmMovimientoBodega::deleteRow(int row) {
    if (row < 0 || row >= grid_->rowCount()) return false;
    if (isNew(row)) {
        if (row < grid_->rowCount() - 1) grid_->removeRow(row);
        return true;
    }
    if (!ui::Messages::current().confirm(this, QStringLiteral("¿Borrar la línea %1?").arg(text(row, C::Linea))))
        return false;
    try {
        rules_.remove(key_, grid_->item(row, C::Linea)->data(kLinea).toInt());
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
        return false;
    }
    moving_ = true;
    grid_->removeRow(row);
    moving_ = false;
    showTotals();
    return true;
}

void TFrmMovimientoBodega::cellMoved(int row, int column, int previousRow, int previousColumn) {
    if (moving_ || previousRow < 0) return;
    const auto back = [&] {
        moving_ = true;
        grid_->setCurrentCell(previousRow, previousColumn);
        moving_ = false;
    };
    if (previousColumn >= 0 && !leaveCell(previousRow, previousColumn)) return back();
    if (row != previousRow && !postRow(previousRow)) return back();
    if (column == C::Subtotal && row >= 0) subtotalBefore_ = number(row, C::Subtotal);
    if (column == C::Producto && row >= 0 && barcodes_->isChecked()) {
        bool ok = false;
        const QString code = QInputDialog::getText(this, QStringLiteral("Lector de Barras"),
                                                   QStringLiteral("Ingrese el Codigo de Barras"), QLineEdit::Normal,
                                                   QString(), &ok);
        if (const auto item = ok ? LineCellRules::itemByBarcode(session_, code) : std::nullopt) {
            setCell(row, C::Producto, item->producto);
            setCell(row, C::Cantidad, LineCellRules::signedQuantity(1, choice_.type), kQuantity);
            setCell(row, C::Valor, item->valorUnidad, kMoney);
            grid_->item(row, C::Linea)->setData(kDirty, true);
        }
    }
}

void TFrmMovimientoBodega::cellDoubleClicked(int row, int column) {
    if (column == C::Producto) {
        master::TFrmBuscarProducto search(session_, this);
        if (search.exec() == QDialog::Accepted) {
            setCell(row, C::Producto, master::lookupResults().item.toInt());
            grid_->item(row, C::Linea)->setData(kDirty, true);
            leaveCell(row, C::Producto);
        }
    } else if (column == C::CCostos) {
        master::TFrmBuscarCentroCosto search(session_, this);
        if (search.exec() == QDialog::Accepted) {
            setCell(row, C::CCostos, master::lookupResults().costCentre);
            grid_->item(row, C::Linea)->setData(kDirty, true);
        }
    } else if (column == C::SubP) {
        leaveCell(row, C::SubP);
    } else if (column == C::Valor && !isNew(row)) {
        if (openOther(otherWindows().priceCalculator, this, key_,
                      grid_->item(row, C::Linea)->data(kLinea).toInt()))
            loadLines();
    } else if (column == C::Nombre && !text(row, C::Producto).isEmpty()) {
        if (openOther(otherWindows().nameChange, this, text(row, C::Producto).toInt())) loadLines();
    }
}

bool TFrmMovimientoBodega::eventFilter(QObject* watched, QEvent* event) {
    if (watched == despachara_ && event->type() == QEvent::MouseButtonDblClick) {
        chooseAddress();
        return true;
    }
    if (watched == observaciones_ && event->type() == QEvent::FocusOut) saveHeader();
    if (watched == grid_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Along the line: to the next cell the user can type into, then to the next line.
            int row = grid_->currentRow(), column = grid_->currentColumn();
            do {
                if (++column >= ColumnCount) {
                    column = C::Producto;
                    ++row;
                }
            } while (row < grid_->rowCount() && (grid_->isColumnHidden(column) || !editable(column, choice_.type)));
            if (row >= grid_->rowCount()) {
                if (!leaveCell(grid_->currentRow(), grid_->currentColumn()) || !postRow(grid_->currentRow()))
                    return true;
                row = grid_->rowCount() - 1;
                column = C::Producto;
            }
            grid_->setCurrentCell(row, column);
            return true;
        }
        if (key == Qt::Key_Delete && (static_cast<QKeyEvent*>(event)->modifiers() & Qt::ControlModifier)) {
            deleteRow(grid_->currentRow());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TFrmMovimientoBodega::print() {
    if (!saveHeader()) return false;
    if (!leaveCell(grid_->currentRow(), grid_->currentColumn()) || !postRow(grid_->currentRow())) return false;
    try {
        DocumentCompletion::applyRetention(session_, key_, DocumentCompletion::readPercent(retention_->text()));
        showHeaderFields();
        DocumentCompletion::finishOrderReceipt(session_, key_, choice_.type);
        DocumentPrint request{.document = key_, .type = choice_.type};
        if (choice_.type.informe == 99) {
            PosExport::write(session_, key_, PosExport::defaultFolder());
            request.layout = QStringLiteral("8");
            request.title = choice_.type.nombre;
        }
        if (choice_.type.informe != 0) openOther(otherWindows().printing, this, request);
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
        return false;
    } catch (const std::runtime_error& e) {
        ui::Messages::current().error(this, QString::fromUtf8(e.what()));
        return false;
    }
    showTotals();
    return true;
}

void TFrmMovimientoBodega::done(int result) {
    // Typed header fields and a line still being typed are stored first; what is refused keeps the
    // window open.
    if (!saveHeader()) return;
    if (grid_->currentRow() >= 0 &&
        (!leaveCell(grid_->currentRow(), grid_->currentColumn()) || !postRow(grid_->currentRow())))
        return;
    auto& messages = ui::Messages::current();
    const double percent = DocumentCompletion::readPercent(retention_->text());
    try {
        if (DocumentCompletion::postsToAccounting(choice_.type) &&
            messages.confirm(this, QStringLiteral("Esta seguro(a) que desea Contabilizar?")) &&
            messages.confirm(this, QStringLiteral("( Ojo ).... Contabilizo ?"))) {
            if (percent > 0) DocumentCompletion::applyRetention(session_, key_, percent);
            showHeaderFields();
            openOther(otherWindows().posting, this,
                      DocumentCompletion::postingRequest(session_, key_, choice_.costOfSales));
        }
        DocumentCompletion::close(session_, key_);
    } catch (const db::DbError& e) {
        messages.error(this, e.engineText());
    }
    QDialog::done(result);
}

} // namespace movements
