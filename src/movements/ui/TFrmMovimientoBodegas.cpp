#include "movements/ui/TFrmMovimientoBodegas.h"

#include "master/ui/lookup/LookupResults.h"
#include "master/ui/lookup/TFrmBuscarProveedor.h"
#include "master/ui/lookup/TFrmCalendario.h"
#include "movements/DocumentHeaders.h"
#include "movements/OrderLoading.h"
#include "movements/ui/TFrmMovimientoBodega.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "platform/numbers/Format.h"
#include "platform/ui/Messages.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace movements {

namespace {

using Decl = ui::MasterWindowDeclaration;
using Field = Decl::Field;
using Kind = Field::Kind;

Field field(const char* column, const char* label, Kind kind = Kind::Text, const QString& mask = {}) {
    return Field{.column = QString::fromLatin1(column), .label = QString::fromUtf8(label), .kind = kind, .mask = mask};
}

Decl headerDeclaration(const MovementChoice& c) {
    Decl d;
    d.table = QStringLiteral("MOVIMIENTO");
    d.filter = QStringLiteral("EMPRESA = ? AND DOCUMENTO = ?");
    d.filterValues = {c.empresa, c.type.documento};
    d.caption = QStringLiteral("Movimiento de Almacèn");
    d.heading = c.type.nombre;
    d.fields = {
        field("ORDENCOMPRASALIDA", "Remision / Orden De Compra :", Kind::Number),
        field("CLIENTE", "Proveedor / Cliente :", Kind::Number),
        field("FECHA", "Fecha De Entrada:", Kind::Date),
        field("REMISION", "Remision Viaje:", Kind::Number),
        field("FACTURA", "Factura Origen y Fecha:", Kind::Number),
        field("FECHAFACTURA", "", Kind::Date),
        field("VENDEDOR", "Asesor Comercial :", Kind::Number),
        field("SOLICITADOPOR", "Porcentaje Comision :"),
        field("TERMINOS", "Terminos  :"),
        field("FORMAPAGO", "Forma de Pago  :"),
        Field{.column = QStringLiteral("MONEDA"), .label = QStringLiteral("Moneda :"), .kind = Kind::Choice,
              .choicesSql = QStringLiteral("SELECT CODIGOMONEDA, DESCRIPCION FROM MONEDA ORDER BY DESCRIPCION")},
        field("TASA", "Tasa de Cambio  :", Kind::Number, QStringLiteral("###,###.00")),
        Field{.column = QStringLiteral("BODEGA"), .label = QStringLiteral("Bodega :"), .kind = Kind::Choice,
              .choicesSql = QStringLiteral("SELECT BODEGA, NOMBRE FROM BODEGAS ORDER BY BODEGA")},
    };
    d.grid = {{QStringLiteral("CONSECUTIVO"), QStringLiteral("Número")},
              {QStringLiteral("FECHA"), QStringLiteral("Fecha"), QStringLiteral("dd/mm/yyyy")},
              {QStringLiteral("CLIENTE"), QStringLiteral("Tercero")},
              {QStringLiteral("FACTURA"), QStringLiteral("Factura")},
              {QStringLiteral("NETO"), QStringLiteral("Total"), QStringLiteral("###,###.00")},
              {QStringLiteral("STATUS"), QStringLiteral("Estado")}};
    d.searchColumn = QStringLiteral("CONSECUTIVO");
    d.searchHint = QStringLiteral("Teclee el número del documento");
    d.focusColumn = QStringLiteral("CLIENTE");
    d.deleteCheck = [](db::Session& s, const db::Row& row) -> QString {
        const bool hasLines =
            s.first(QStringLiteral("SELECT FIRST 1 1 FROM MOVIMIENTODETALLE "
                                   "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
                    {row[QStringLiteral("EMPRESA")], row[QStringLiteral("DOCUMENTO")],
                     row[QStringLiteral("CONSECUTIVO")]})
                .has_value();
        return hasLines ? HeaderRules::hasLinesMessage(row[QStringLiteral("CONSECUTIVO")].toInt()) : QString();
    };
    return d;
}

QLineEdit* lineEdit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

} // namespace

TFrmMovimientoBodegas::TFrmMovimientoBodegas(db::Session& session, MovementChoice choice, QWidget* parent)
    : MasterWindow(session, headerDeclaration(choice), parent), choice_(std::move(choice)) {
    setObjectName(QStringLiteral("TFrmMovimientoBodegas"));

    number_label_ = new QLabel(this);
    number_label_->setObjectName(QStringLiteral("lblConsecutivo"));
    number_label_->setAlignment(Qt::AlignCenter);
    number_label_->setToolTip(QStringLiteral("Doble clic para cambiar el número del documento"));
    QFont big = number_label_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 2);
    number_label_->setFont(big);
    number_label_->installEventFilter(this);
    mainLayout()->insertWidget(1, number_label_);

    // The third party's name beside its NIT, or the box for a third party that is not registered.
    thirdPartyName_ = new QLabel(this);
    thirdPartyName_->setObjectName(QStringLiteral("lblNombreTercero"));
    thirdParty_ = new QGroupBox(QStringLiteral("Datos Del Tercero"), this);
    thirdParty_->setObjectName(QStringLiteral("grpDatosTercero"));
    auto* tp = new QGridLayout(thirdParty_);
    tpName_ = lineEdit(thirdParty_, "edtTerceroNombre");
    tpName_->setMaxLength(40);
    tpId_ = lineEdit(thirdParty_, "edtTerceroCedula");
    tpId_->setReadOnly(true);
    tpPhone_ = lineEdit(thirdParty_, "edtTerceroTelefono");
    tpPhone_->setMaxLength(20);
    tpAddress_ = lineEdit(thirdParty_, "edtTerceroDireccion");
    tpAddress_->setMaxLength(40);
    tpEmail_ = lineEdit(thirdParty_, "edtTerceroEmail");
    tpEmail_->setMaxLength(60);
    connect(tpName_, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int at = tpName_->cursorPosition();
        tpName_->setText(t.toUpper());
        tpName_->setCursorPosition(at);
        thirdPartyName_->setText(tpName_->text());
    });
    connect(tpEmail_, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int at = tpEmail_->cursorPosition();
        tpEmail_->setText(t.toLower());
        tpEmail_->setCursorPosition(at);
    });
    const std::pair<const char*, QLineEdit*> rows[] = {
        {"Nombre", tpName_}, {"Cédula", tpId_}, {"Télefono", tpPhone_}, {"Dirección", tpAddress_}, {"E Mail", tpEmail_}};
    int r = 0;
    for (const auto& [label, edit] : rows) {
        tp->addWidget(new QLabel(QString::fromUtf8(label), thirdParty_), r, 0);
        tp->addWidget(edit, r++, 1);
    }
    thirdParty_->hide();
    addBeside(QStringLiteral("CLIENTE"), thirdPartyName_);
    mainLayout()->insertWidget(3, thirdParty_);

    // Searches and the way to the lines.
    auto* actions = new QHBoxLayout;
    actions->addWidget(new QLabel(QStringLiteral("No. a Reimprimir"), this));
    number_ = lineEdit(this, "edtNoReimprimir");
    number_->setText(QStringLiteral("1"));
    number_->setMaximumWidth(100);
    actions->addWidget(number_);
    QHBoxLayout* row = actions;
    const auto button = [&](const char* text, const char* name, std::function<void()> run) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, std::move(run));
        row->addWidget(b);
        return b;
    };
    button("Buscar X Consecutivo", "btnBuscarConsecutivo", [this] { searchByNumber(); });
    button("Buscar X Factura", "btnBuscarFactura", [this] { searchByInvoice(); });
    actions->addStretch();
    vatWithDiscount_ = new QCheckBox(QStringLiteral("Iva Con Descuento"), this);
    vatWithDiscount_->setObjectName(QStringLiteral("chkIvaConDescuento"));
    actions->addWidget(vatWithDiscount_);
    shortCapture_ = new QCheckBox(QStringLiteral("Captura Corta"), this);
    shortCapture_->setObjectName(QStringLiteral("chkCapturaCorta"));
    actions->addWidget(shortCapture_);
    button(">> MOVIMIENTO PRODUCTOS", "btnMovimientoProductos", [this] { openLines(LinesFrom::Document); });
    // The direct sale of ordered goods; hidden, as it was at design time.
    button(">>&Venta Joyas", "btnVentaJoyas", [this] { openLines(LinesFrom::OrderDirectSale); })->hide();
    mainLayout()->addLayout(actions);

    // The utilities of other parts of the program, reached through otherWindows().
    auto* utilities = new QHBoxLayout;
    row = utilities;
    button("&Reimprimir", "btnReimprimir", [this] {
        if (!dataset().isEmpty())
            openOther(otherWindows().printing, this, DocumentPrint{.document = currentKey(), .type = choice_.type});
    });
    button("Cargar", "btnCargar", [this] {
        bool ok = false;
        const int number = loadNumber_->text().trimmed().toInt(&ok);
        if (!ok) {
            ui::Messages::current().warning(this, QStringLiteral("Escriba el número a cargar"));
            loadNumber_->setFocus();
            return;
        }
        openOther(otherWindows().remissionTransfer, this, currentKey(), number);
    });
    loadNumber_ = lineEdit(this, "edtCargar");
    loadNumber_->setText(QStringLiteral("1"));
    loadNumber_->setMaximumWidth(80);
    utilities->addWidget(loadNumber_);
    button("Recontabiliza", "btnRecontabiliza", [this] { openOther(otherWindows().reposting, this, currentKey()); });
    button("Orden De Produccion", "btnOrdenProduccion", [this] { productionOrder(); });
    utilities->addStretch();
    mainLayout()->addLayout(utilities);

    // Double-clicks that open the lookups, and Enter that posts from the last fields.
    for (const char* column : {"ORDENCOMPRASALIDA", "CLIENTE", "FECHA", "VENDEDOR", "SOLICITADOPOR", "TERMINOS", "FORMAPAGO", "TASA",
                               "FACTURA", "FECHAFACTURA"})
        if (QWidget* w = fieldWidget(QString::fromLatin1(column))) w->installEventFilter(this);

    connect(&dataset(), &db::Dataset::currentChanged, this, &TFrmMovimientoBodegas::showThirdParty);
    dataset().last();
    showThirdParty();
    resize(820, 760);
}

HeaderKey TFrmMovimientoBodegas::currentKey() const {
    if (dataset().isEmpty()) return {choice_.empresa, choice_.type.documento, 0};
    return {choice_.empresa, choice_.type.documento, dataset().value(QStringLiteral("CONSECUTIVO")).toInt()};
}

void TFrmMovimientoBodegas::showThirdParty() {
    const HeaderKey key = currentKey();
    number_label_->setText(key.consecutivo > 0 ? QString::number(key.consecutivo) : QString());
    if (dataset().isEmpty()) {
        thirdPartyName_->clear();
        thirdParty_->hide();
        return;
    }
    const QVariant nit = dataset().value(QStringLiteral("CLIENTE"));
    const auto found =
        nit.isNull() ? std::nullopt
                     : session().first(QStringLiteral("SELECT NOMBRE FROM PROVEEDORES WHERE NIT = ?"), {nit});
    if (found) {
        thirdPartyName_->setText(found->at(0).toString());
        thirdParty_->hide();
    } else {
        thirdParty_->show();
        tpId_->setText(nit.isNull() ? QString() : numbers::formatValue(nit));
        thirdPartyName_->setText(tpName_->text());
    }
}

void TFrmMovimientoBodegas::showOnly(int number) {
    dataset().setFilter(QStringLiteral("EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
                        {choice_.empresa, choice_.type.documento, number});
    dataset().first();
    showThirdParty();
}

void TFrmMovimientoBodegas::showAll() {
    dataset().setFilter(QStringLiteral("EMPRESA = ? AND DOCUMENTO = ?"), {choice_.empresa, choice_.type.documento});
    dataset().last();
    showThirdParty();
}

void TFrmMovimientoBodegas::insertRow() {
    if (dataset().state() != db::Dataset::State::Browse) return;
    NewHeader h{.empresa = choice_.empresa, .documento = choice_.type.documento};
    // The warehouse shown, else the first one; the first third party with its address.
    const QVariant bodega = dataset().isEmpty() ? session().scalar(QStringLiteral("SELECT MIN(BODEGA) FROM BODEGAS"))
                                                : dataset().value(QStringLiteral("BODEGA"));
    h.bodega = bodega.toInt();
    if (const auto third = session().first(QStringLiteral("SELECT FIRST 1 NIT, DIRECCION FROM PROVEEDORES ORDER BY NIT"))) {
        h.cliente = third->at(0).toDouble();
        h.despachara = third->at(1).toString();
    }
    const int number = DocumentHeaders::create(session(), h);
    showOnly(number);
}

void TFrmMovimientoBodegas::beforePost() {
    dataset().setValue(QStringLiteral("FECHAFACTURA"),
                       HeaderRules::invoiceDateOnPost(dataset().value(QStringLiteral("FECHAFACTURA")),
                                                      dataset().value(QStringLiteral("FECHA"))));
}

void TFrmMovimientoBodegas::setFieldText(const QString& column, const QString& text) {
    if (dataset().isEmpty()) return;
    if (dataset().state() == db::Dataset::State::Browse) startEdit();
    if (auto* e = qobject_cast<QLineEdit*>(fieldWidget(column))) e->setText(text);
}

void TFrmMovimientoBodegas::setThirdParty(double nit) {
    if (dataset().isEmpty()) return;
    setFieldText(QStringLiteral("CLIENTE"), numbers::formatValue(nit));
    const auto row = session().first(QStringLiteral("SELECT NOMBRE, DIRECCION FROM PROVEEDORES WHERE NIT = ?"), {nit});
    dataset().setValue(QStringLiteral("DESPACHARA"), row ? row->at(1) : QVariant());
    thirdPartyName_->setText(row ? row->at(0).toString() : QString());
    thirdParty_->setVisible(!row);
}

void TFrmMovimientoBodegas::setAdviser(double nit) {
    setFieldText(QStringLiteral("VENDEDOR"), numbers::formatValue(nit));
    setFieldText(QStringLiteral("SOLICITADOPOR"), numbers::formatValue(nit));
}

void TFrmMovimientoBodegas::setDate(const QDate& date) {
    setFieldText(QStringLiteral("FECHA"), numbers::formatDate(date, QStringLiteral("dd/mm/yyyy")));
}

bool TFrmMovimientoBodegas::checkOrder() {
    if (choice_.type.ordenCompra != QStringLiteral("S") || dataset().isEmpty()) return true;
    auto* field = qobject_cast<QLineEdit*>(fieldWidget(QStringLiteral("ORDENCOMPRASALIDA")));
    const QString typed = field->text().trimmed();
    const auto number = HeaderRules::readNumber(typed);
    const auto order = number ? session().first(QStringLiteral("SELECT O.PROVEEDOR, P.DIRECCION FROM ORDENCOMPRA O "
                                                               "LEFT JOIN PROVEEDORES P ON P.NIT = O.PROVEEDOR "
                                                               "WHERE O.EMPRESA = ? AND O.CONSECUTIVO = ?"),
                                                {choice_.empresa, *number})
                              : std::nullopt;
    if (!order) {
        ui::Messages::current().warning(this, QStringLiteral("Orden de Compra No Existe"));
        focusField(QStringLiteral("ORDENCOMPRASALIDA"));
        return false;
    }
    setThirdParty(order->at(0).toDouble());
    dataset().setValue(QStringLiteral("DESPACHARA"), order->at(1));
    return true;
}

bool TFrmMovimientoBodegas::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == fieldWidget(QStringLiteral("ORDENCOMPRASALIDA")) &&
        dataset().state() != db::Dataset::State::Browse && fieldChanged(QStringLiteral("ORDENCOMPRASALIDA"))) {
        checkOrder();
        return false;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == number_label_) {
            bool ok = false;
            const QString typed = QInputDialog::getText(this, QStringLiteral("Numero Documento"),
                                                        QStringLiteral("Nuevo Numero"), QLineEdit::Normal,
                                                        number_label_->text(), &ok);
            if (ok) renumber(typed);
            return true;
        }
        const auto is = [&](const char* column) { return watched == fieldWidget(QString::fromLatin1(column)); };
        if (is("CLIENTE") || is("VENDEDOR") || is("SOLICITADOPOR") || is("TERMINOS") || is("FORMAPAGO") || is("TASA")) {
            master::TFrmBuscarProveedor search(session(), this);
            if (search.exec() == QDialog::Accepted) {
                const double nit = master::lookupResults().supplierNit;
                if (is("CLIENTE"))
                    setThirdParty(nit);
                else
                    setAdviser(nit);
            }
            return true;
        }
        if ((is("FACTURA") || is("FECHAFACTURA")) && !dataset().isEmpty()) {
            openOther(otherWindows().customerInvoices, this, currentKey(),
                      dataset().value(QStringLiteral("CLIENTE")).toDouble());
            return true;
        }
        if (is("FECHA")) {
            master::TFrmCalendario calendar(this);
            if (calendar.exec() == QDialog::Accepted) setDate(master::lookupResults().date);
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress && dataset().state() != db::Dataset::State::Browse) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        const auto is = [&](const char* column) { return watched == fieldWidget(QString::fromLatin1(column)); };
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            (is("FACTURA") || is("FECHAFACTURA") || is("VENDEDOR") || is("SOLICITADOPOR") || is("TERMINOS") ||
             is("FORMAPAGO") || is("TASA"))) {
            post();
            return true;
        }
    }
    return MasterWindow::eventFilter(watched, event);
}

bool TFrmMovimientoBodegas::searchByNumber() {
    QString refusal;
    const auto found =
        HeaderRules::findByNumber(session(), choice_.empresa, choice_.type.documento, number_->text(), &refusal);
    if (!found) {
        ui::Messages::current().warning(this, refusal);
        return false;
    }
    showOnly(*found);
    return true;
}

bool TFrmMovimientoBodegas::searchByInvoice() {
    QString refusal;
    const auto found =
        HeaderRules::findByInvoice(session(), choice_.empresa, choice_.type.documento, number_->text(), &refusal);
    if (!found) {
        ui::Messages::current().warning(this, refusal);
        return false;
    }
    showOnly(*found);
    return true;
}

bool TFrmMovimientoBodegas::renumber(const QString& typed) {
    const HeaderKey key = currentKey();
    if (key.consecutivo == 0) return false;
    try {
        const QString refusal = HeaderRules::renumber(session(), key, typed);
        if (!refusal.isEmpty()) {
            ui::Messages::current().warning(this, refusal);
            return false;
        }
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
        return false;
    }
    showOnly(*HeaderRules::readNumber(typed));
    return true;
}

bool TFrmMovimientoBodegas::prepareLines(LinesFrom from) {
    if (dataset().isEmpty()) return false;
    const bool document = from == LinesFrom::Document;
    try {
        if (!postHeader(document)) return false;

        const QVariant factura = dataset().value(QStringLiteral("FACTURA"));
        const QVariant cliente = dataset().value(QStringLiteral("CLIENTE"));
        const int invoices =
            document ? HeaderRules::invoiceCount(session(), factura, cliente, choice_.type.documento) : 0;
        if (invoices > 1) {
            ui::Messages::current().warning(this, HeaderRules::duplicateInvoiceMessage(invoices, factura));
            if (choice_.type.adds()) return false;
        }

        if (!thirdParty_->isHidden()) {
            if (tpName_->text().trimmed().isEmpty() || cliente.isNull()) {
                ui::Messages::current().warning(this, QStringLiteral("Escriba el nombre del tercero"));
                tpName_->setFocus();
                return false;
            }
            const auto text = [](QLineEdit* e) {
                return e->text().trimmed().isEmpty() ? QVariant() : QVariant(e->text().trimmed());
            };
            session().execute(QStringLiteral("INSERT INTO PROVEEDORES (NIT, NOMBRE, DIRECCION, EMAIL, TELEFONO) "
                                             "VALUES (?, ?, ?, ?, ?)"),
                              {cliente, text(tpName_), text(tpAddress_), text(tpEmail_), text(tpPhone_)});
            showThirdParty();
        }
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
        return false;
    }
    return true;
}

// An open edit is written first; with `correctInvoiceDate`, a header whose invoice date is before its
// date is written too, so that the posting rule moves the invoice date up.
bool TFrmMovimientoBodegas::postHeader(bool correctInvoiceDate) {
    const QVariant fecha = dataset().value(QStringLiteral("FECHA"));
    const QVariant invoiceDate = dataset().value(QStringLiteral("FECHAFACTURA"));
    if (correctInvoiceDate && dataset().state() == db::Dataset::State::Browse &&
        HeaderRules::invoiceDateOnPost(invoiceDate, fecha) != invoiceDate)
        startEdit();
    return dataset().state() == db::Dataset::State::Browse || post();
}

void TFrmMovimientoBodegas::productionOrder() {
    if (dataset().isEmpty()) return;
    try {
        if (!postHeader(true)) return;
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
        return;
    }
    if (choice_.type.entra == QStringLiteral("S")) openOther(otherWindows().productionOrder, this, currentKey());
}

void TFrmMovimientoBodegas::openLines(LinesFrom from) {
    if (!prepareLines(from)) return;
    const HeaderKey key = currentKey();
    MovementChoice choice = choice_;
    choice.vatWithDiscount = vatWithDiscount_->isChecked();
    choice.shortCapture = shortCapture_->isChecked();
    try {
        // A receipt against a purchase order takes the order's pending lines the first time.
        if (choice_.type.ordenCompra == QStringLiteral("S")) {
            if (!OrderLoading::orderExists(session(), key)) {
                ui::Messages::current().warning(this, OrderLoading::kNoOrder);
                focusField(QStringLiteral("ORDENCOMPRASALIDA"));
                return;
            }
            if (dataset().value(QStringLiteral("STATUS")).toString() == QStringLiteral("G")) {
                LineRules rules(session());
                const auto loaded = OrderLoading::loadPending(
                    session(), rules, key, {.valuedIssues = choice.valuedIssues, .vatWithDiscount = choice.vatWithDiscount},
                    from == LinesFrom::Document ? PendingFrom::ReceivingDocuments : PendingFrom::OrderReceived);
                if (!loaded.refused.isEmpty())
                    ui::Messages::current().warning(this, loaded.refused.join(QLatin1Char('\n')));
            }
        }
        TFrmMovimientoBodega lines(session(), choice, key.consecutivo, this);
        lines.exec();
    } catch (const LineRefused& e) {
        ui::Messages::current().warning(this, e.message());
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    }
    showAll();
}

} // namespace movements
