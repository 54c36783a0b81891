#include "master/ui/MasterWindows.h"

#include "master/AccountAssignment.h"
#include "master/References.h"
#include "master/TextLoad.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "platform/ui/GridStyle.h"
#include "platform/ui/Messages.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>
#include <stdexcept>

namespace master {

namespace {

using Decl = ui::MasterWindowDeclaration;
using Field = Decl::Field;
using Kind = Field::Kind;

const QString kSearchHint = QStringLiteral("Teclee Codigo O Flechas Para Buscar el registro");

Field text(const char* column, const QString& label, const QString& page = {}) {
    return Field{.column = QString::fromLatin1(column), .label = label, .page = page};
}

Field number(const char* column, const QString& label, const QString& mask = {}, const QString& page = {}) {
    return Field{.column = QString::fromLatin1(column), .label = label, .kind = Kind::Number, .mask = mask,
                 .page = page};
}

Field choice(const char* column, const QString& label, std::vector<Decl::Choice> choices,
             const QString& page = {}) {
    return Field{.column = QString::fromLatin1(column), .label = label, .kind = Kind::Choice,
                 .choices = std::move(choices), .page = page};
}

std::vector<Decl::Choice> yesNo() {
    return {{QStringLiteral("Si"), QStringLiteral("S")}, {QStringLiteral("No"), QStringLiteral("N")}};
}

// A master row that items or documents still name stays: the delete is refused with the reason.
std::function<QString(db::Session&, const db::Row&)> refuseIfUsed(const char* table, const char* key) {
    return [table, key](db::Session& session, const db::Row& row) {
        return whyInUse(session, QString::fromLatin1(table), row[QString::fromLatin1(key)]);
    };
}

std::function<QString(db::Session&, const QString&)> textLoad(TextLoadKind kind) {
    return [kind](db::Session& session, const QString& path) {
        return loadTextFile(session, kind, path).report();
    };
}

Decl companies() {
    Decl d;
    d.table = QStringLiteral("EMPRESAS");
    d.caption = QStringLiteral("MANTENIMIENTO EMPRESAS");
    d.heading = QStringLiteral("E  M P R E S A S");
    d.fields = {
        text("EMPRESA", QStringLiteral("Código Empresa  :")),
        text("NOMBRE", QStringLiteral("Nombre Empresa :")),
        text("CIUDAD", QStringLiteral("Nombre Ciudad :")),
        text("TELEFONOS", QStringLiteral("Número Teléfono :")),
        number("CSCORDEN", QStringLiteral("Consecutivo O. Compra :")),
        text("NIT", QStringLiteral("Nit de la Empresa  :")),
        Field{.column = QStringLiteral("FECHACORTE"), .label = QStringLiteral("Fecha Corte :"), .kind = Kind::Date},
        text("CUENTARETENCIONC", QStringLiteral("Cuenta Retenciòn Por Compras :")),
        text("EMPRESACONTABILIZA", QStringLiteral("Empresa Contabiliza :")),
        text("CUENTARETENCIONV", QStringLiteral("Cuenta Retenciòn  Ventas:")),
        // The first letter of the choice is what the column keeps.
        choice("AUTORETENEDORAIVA", QStringLiteral("Retenedora de Iva?"),
               {{QStringLiteral("SI"), QStringLiteral("S")}, {QStringLiteral("NO"), QStringLiteral("N")}}),
        number("PORCENTAJEAUTORETEIVA", QStringLiteral("Porcentaje de Retenciòn Iva"), QStringLiteral("##0.00")),
        text("CUENTARETENCIONIVA", QStringLiteral("Cuenta Retenciòn Iva :")),
        Field{.column = QStringLiteral("LOGO"), .label = QStringLiteral("Logo :"), .kind = Kind::Picture},
    };
    d.grid = {{QStringLiteral("EMPRESA"), QStringLiteral("Código")},
              {QStringLiteral("NOMBRE"), QStringLiteral("Nombre Empresa")},
              {QStringLiteral("CSCORDEN"), QStringLiteral("Csc O.C.")},
              {QStringLiteral("NIT"), QStringLiteral("Nit")},
              {QStringLiteral("TELEFONOS"), QStringLiteral("Teléfonos")},
              {QStringLiteral("CIUDAD"), QStringLiteral("Ciudad")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("empresas");
    d.rangeFrom = QStringLiteral("01");
    d.rangeTo = QStringLiteral("99");
    d.deleteCheck = refuseIfUsed("EMPRESAS", "EMPRESA");
    return d;
}

Decl groups() {
    Decl d;
    d.table = QStringLiteral("GRUPOS");
    d.caption = QStringLiteral("GRUPOS DE PRODUCTOS");
    d.heading = QStringLiteral("GRUPOS DE PRODUCTOS");
    d.fields = {text("GRUPO", QStringLiteral("Código Grupo  :")),
                text("NOMBRE", QStringLiteral("Nombre del Grupo  :"))};
    d.grid = {{QStringLiteral("GRUPO"), QStringLiteral("Código")},
              {QStringLiteral("NOMBRE"), QStringLiteral("Nombre del Grupo")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("grupos");
    d.rangeFrom = QStringLiteral("A");
    d.rangeTo = QStringLiteral("Z");
    d.deleteCheck = refuseIfUsed("GRUPOS", "GRUPO");
    d.textLoad = textLoad(TextLoadKind::Groups);
    return d;
}

Decl subgroups() {
    Decl d;
    d.table = QStringLiteral("SUBGRUPOS");
    d.caption = QStringLiteral("SubGrupos de Almacen");
    d.heading = QStringLiteral("SUBGRUPOS DE PRODUCTOS");
    d.fields = {number("SUBGRUPO", QStringLiteral("Código SubGrupo  :")),
                text("NOMBRE", QStringLiteral("Nombre del SubGrupo  :")),
                text("CUENTA", QStringLiteral("Cuenta  :")), text("MODELO", QStringLiteral("Modelo  :"))};
    d.grid = {{QStringLiteral("SUBGRUPO"), QStringLiteral("Código")},
              {QStringLiteral("NOMBRE"), QStringLiteral("Nombre del SubGrupo")},
              {QStringLiteral("CUENTA"), QStringLiteral("Cuenta")},
              {QStringLiteral("MODELO"), QStringLiteral("Modelo")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("subgrupos");
    d.rangeFrom = QStringLiteral("1");
    d.rangeTo = QStringLiteral("999");
    d.deleteCheck = refuseIfUsed("SUBGRUPOS", "SUBGRUPO");
    d.textLoad = textLoad(TextLoadKind::Subgroups);
    return d;
}

Decl units() {
    Decl d;
    d.table = QStringLiteral("UNIDADES");
    d.caption = QStringLiteral("Unidades de Movimiento");
    d.heading = QStringLiteral("U N I D A D E S");
    d.fields = {text("UNIDAD", QStringLiteral("Código Unidad  :")),
                text("NOMBRE", QStringLiteral("Nombre Unidad  :"))};
    d.grid = {{QStringLiteral("UNIDAD"), QStringLiteral("Código")},
              {QStringLiteral("NOMBRE"), QStringLiteral("Nombre Unidad")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("unidades");
    d.rangeFrom = QStringLiteral("A");
    d.rangeTo = QStringLiteral("Z");
    d.deleteCheck = refuseIfUsed("UNIDADES", "UNIDAD");
    return d;
}

Decl conversions() {
    const QString unitList = QStringLiteral("SELECT UNIDAD, NOMBRE FROM UNIDADES ORDER BY NOMBRE");
    Decl d;
    d.table = QStringLiteral("UNIDADCONVERSION");
    d.caption = QStringLiteral("CONVERSION DE UNIDADES");
    d.heading = QStringLiteral("CONVERSION DE UNIDADES");
    d.fields = {
        Field{.column = QStringLiteral("CODIGOUNIDAD"), .label = QStringLiteral("Código Unidad  :"),
              .kind = Kind::Choice, .choicesSql = unitList},
        Field{.column = QStringLiteral("CODIGOUNIDADRECIBIR"), .label = QStringLiteral("Unidad Recibe  :"),
              .kind = Kind::Choice, .choicesSql = unitList},
        number("CANTIDAD", QStringLiteral("Cantidad Conversión  :"), QStringLiteral("###,###.######")),
        choice("OPERADOR", QStringLiteral("Tipo de Operador"),
               {{QStringLiteral("Dividir"), QStringLiteral("D")}, {QStringLiteral("Multiplicar"), QStringLiteral("M")}}),
    };
    d.grid = {{QStringLiteral("CODIGOUNIDAD"), QStringLiteral("Unidad")},
              {QStringLiteral("CODIGOUNIDADRECIBIR"), QStringLiteral("Unidad Recibe")},
              {QStringLiteral("CANTIDAD"), QStringLiteral("Cantidad"), QStringLiteral("###,###.######")},
              {QStringLiteral("OPERADOR"), QStringLiteral("Operador")}};
    d.searchColumn = QStringLiteral("CODIGOUNIDAD");
    d.search = Decl::Search::Nearest;
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("conversiones");
    return d;
}

Decl costCentres() {
    Decl d;
    d.table = QStringLiteral("CENTROCOSTOS");
    d.caption = QStringLiteral("Centro de Costos");
    d.heading = QStringLiteral("CENTRO DE COSTOS");
    d.fields = {text("CENTROCOSTO", QStringLiteral("Código Centro de Costos  :")),
                text("NOMBRE", QStringLiteral("Nombre Centro de Costos  :")),
                number("PRESUPUESTO", QStringLiteral("Presupuesto  :"), QStringLiteral("###,###.00"))};
    d.grid = {{QStringLiteral("CENTROCOSTO"), QStringLiteral("Costo")},
              {QStringLiteral("NOMBRE"), QStringLiteral("Descripcion")},
              {QStringLiteral("PRESUPUESTO"), QStringLiteral("Presupuesto"), QStringLiteral("###,###.00")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("centroscostos");
    d.rangeFrom = QStringLiteral("000000");
    d.rangeTo = QStringLiteral("999999");
    d.deleteCheck = refuseIfUsed("CENTROCOSTOS", "CENTROCOSTO");
    return d;
}

Decl warehouses() {
    Decl d;
    d.table = QStringLiteral("BODEGAS");
    d.caption = QStringLiteral("Bodegas");
    d.heading = QStringLiteral("B O D E G A S");
    d.fields = {number("BODEGA", QStringLiteral("Código Bodega  :")),
                text("NOMBRE", QStringLiteral("Nombre Bodega:"))};
    d.grid = {{QStringLiteral("BODEGA"), QStringLiteral("Código")},
              {QStringLiteral("NOMBRE"), QStringLiteral("Nombre Bodega")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("bodegas");
    d.rangeFrom = QStringLiteral("01");
    d.rangeTo = QStringLiteral("99");
    d.deleteCheck = refuseIfUsed("BODEGAS", "BODEGA");
    return d;
}

Decl documentTypes() {
    const QString general = QStringLiteral("Datos Generales");
    const QString accounts = QStringLiteral("Cuentas Contables");
    const QString parameters = QStringLiteral("Parametros Generales");
    const QString resolution = QStringLiteral("Resolucion Dian");
    Decl d;
    d.table = QStringLiteral("DOCUMENTOS");
    d.caption = QStringLiteral("Documentos");
    d.heading = QStringLiteral("D O C U M E N T O S");
    d.fields = {
        text("DOCUMENTO", QStringLiteral("Código Documento  :"), general),
        text("NOMBRE", QStringLiteral("Nombre Documento:"), general),
        number("CONSECUTIVO", QStringLiteral("Consecutivo:"), {}, general),
        text("CODIGODOCUMENTO", QStringLiteral("Codigo Documento"), general),
        choice("CENTROCOSTOS", QStringLiteral("Manejo Centro de Costos"), yesNo(), general),
        choice("ORDENCOMPRA", QStringLiteral("Requiere Orden de Compra"), yesNo(), general),
        choice("CONTROLACCOSTOS", QStringLiteral("Controla Autorizacion Centro de Costos"), yesNo(), general),
        choice("CONTROLASALDO", QStringLiteral("Control de Saldo"), yesNo(), general),
        choice("SUBPRODUCTO", QStringLiteral("Requiere Subproductos"), yesNo(), general),
        choice("CONTROLAPROVEEDOR", QStringLiteral("Controla Proveedor"), yesNo(), general),
        choice("OPERADOR", QStringLiteral("Operador"),
               {{QStringLiteral("Suma"), QStringLiteral("S")},
                {QStringLiteral("Resta"), QStringLiteral("R")},
                {QStringLiteral("Sin Cantidad"), QStringLiteral("N")}},
               general),
        choice("ENTRA", QStringLiteral("Tipo Documento"),
               {{QStringLiteral("Venta"), QStringLiteral("V")},
                {QStringLiteral("Compra"), QStringLiteral("C")},
                {QStringLiteral("Inventario"), QStringLiteral("I")},
                {QStringLiteral("Salida Producciòn"), QStringLiteral("S")},
                {QStringLiteral("Entrada Produccciòn"), QStringLiteral("E")},
                {QStringLiteral("Salida Muestras"), QStringLiteral("M")},
                {QStringLiteral("Nota Credito"), QStringLiteral("R")},
                {QStringLiteral("Nota Debito"), QStringLiteral("D")}},
               accounts),
        text("CUENTACONTABLEV", QStringLiteral("Cuenta \nIngreso o Pago"), accounts),
        text("CUENTACONTABLECE", QStringLiteral("Cuenta CE"), accounts),
        choice("CUENTAS", QStringLiteral("Afecta (Contabilidad, Cxp, Cxc) o Importaciones"),
               {{QStringLiteral("Si"), QStringLiteral("S")},
                {QStringLiteral("No"), QStringLiteral("N")},
                {QStringLiteral("Impotaciones"), QStringLiteral("I")}},
               accounts),
        Field{.column = QStringLiteral("MONEDA"), .label = QStringLiteral("Moneda a Usar?"), .kind = Kind::Choice,
              .choicesSql = QStringLiteral("SELECT CODIGOMONEDA, DESCRIPCION FROM MONEDA ORDER BY DESCRIPCION"),
              .page = accounts},
        number("INFORME", QStringLiteral("Configuracion Informe:"), {}, parameters),
        text("DOCUMENTOLEGALIZACION", QStringLiteral("Documento de Legalizacion Tipo Comprobante:"), parameters),
        text("DOCUMENTOCR", QStringLiteral("Recibo de Caja Tipo Comprobante:"), parameters),
        text("PREFIJO", QStringLiteral("Prefijo"), parameters),
        Field{.column = QStringLiteral("RESOLUCIONFACTURACION"), .label = QStringLiteral("Resolucion Dian"),
              .kind = Kind::Memo, .page = resolution},
    };
    d.grid = {{QStringLiteral("DOCUMENTO"), QStringLiteral("Documento")},
              {QStringLiteral("NOMBRE"), QStringLiteral("Nombre")},
              {QStringLiteral("OPERADOR"), QStringLiteral("Operador")},
              {QStringLiteral("CONSECUTIVO"), QStringLiteral("Consecutivo")},
              {QStringLiteral("CENTROCOSTOS"), QStringLiteral("C. Costos")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("documentos");
    d.rangeFrom = QStringLiteral("AA");
    d.rangeTo = QStringLiteral("ZZ");
    d.deleteCheck = refuseIfUsed("DOCUMENTOS", "DOCUMENTO");
    return d;
}

Decl accountPairs() {
    Decl d;
    d.table = QStringLiteral("CUENTAS");
    d.caption = QStringLiteral("Cuentas de Inventario Vs gastos");
    d.heading = QStringLiteral("CUENTAS INV. Vs CUENTAS GASTOS");
    d.fields = {text("CUENTAINVANTARIO", QStringLiteral("Cuenta Inventario  :")),
                text("CUENTAGASTO", QStringLiteral("Cuenta del Gasto :")),
                text("OBSERVACION", QStringLiteral("Observación :"))};
    d.grid = {{QStringLiteral("CUENTAINVANTARIO"), QStringLiteral("Inventario")},
              {QStringLiteral("CUENTAGASTO"), QStringLiteral("Gasto")},
              {QStringLiteral("OBSERVACION"), QStringLiteral("Observación")}};
    d.searchHint = kSearchHint;
    d.report = QStringLiteral("cuentas");
    d.rangeFrom = QStringLiteral("A");
    d.rangeTo = QStringLiteral("Z");
    return d;
}

} // namespace

TFrmALM005::TFrmALM005(db::Session& session, QWidget* parent) : MasterWindow(session, companies(), parent) {
    setObjectName(QStringLiteral("TFrmALM005"));
}

TFrmALM001::TFrmALM001(db::Session& session, QWidget* parent) : MasterWindow(session, groups(), parent) {
    setObjectName(QStringLiteral("TFrmALM001"));
}

TFrmALM002::TFrmALM002(db::Session& session, QWidget* parent) : MasterWindow(session, subgroups(), parent) {
    setObjectName(QStringLiteral("TFrmALM002"));
    auto* box = new QGroupBox(QStringLiteral("Asignar Cuenta"), this);
    box->setObjectName(QStringLiteral("grpAsignarCuenta"));
    auto* layout = new QVBoxLayout(box);
    accountRows_ = new QStandardItemModel(0, 3, this);
    accountRows_->setHorizontalHeaderLabels(
        {QStringLiteral("Grupo"), QStringLiteral("SubGrupo"), QStringLiteral("Cuenta Contable")});
    accounts_ = new QTableView(box);
    accounts_->setObjectName(QStringLiteral("grdProductoPucCuenta"));
    accounts_->setModel(accountRows_);
    ui::styleGrid(accounts_);
    layout->addWidget(accounts_);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel(QStringLiteral("Cuenta :"), box);
    account_ = new QLineEdit(QStringLiteral("145510"), box);
    account_->setObjectName(QStringLiteral("edtCuenta"));
    account_->setMaxLength(16);
    label->setBuddy(account_);
    auto* pass = new QPushButton(QStringLiteral("Pasa Cuenta"), box);
    pass->setObjectName(QStringLiteral("btnPasaCuenta"));
    pass->setAutoDefault(false);
    connect(pass, &QPushButton::clicked, this, [this] { passAccount(); });
    row->addWidget(label);
    row->addWidget(account_);
    row->addWidget(pass);
    row->addStretch();
    layout->addLayout(row);
    mainLayout()->addWidget(box);
    reloadAccounts();
    ui::fitGridColumns(accounts_);
}

void TFrmALM002::reloadAccounts() {
    const int current = accounts_->currentIndex().row();
    accountRows_->removeRows(0, accountRows_->rowCount());
    for (const db::Row& r : session().all(QStringLiteral(
             "SELECT GRUPO, SUBGRUPO, CUENTACONTABLE FROM PRODUCTOPUCCUENTA ORDER BY GRUPO, SUBGRUPO"))) {
        QList<QStandardItem*> items;
        for (int c = 0; c < 3; ++c) {
            auto* item = new QStandardItem(r.at(c).toString());
            item->setData(r.at(c), Qt::UserRole);
            items << item;
        }
        accountRows_->appendRow(items);
    }
    if (accountRows_->rowCount() > 0)
        accounts_->setCurrentIndex(accountRows_->index(qBound(0, current, accountRows_->rowCount() - 1), 0));
}

bool TFrmALM002::passAccount() {
    const QModelIndex at = accounts_->currentIndex();
    if (!at.isValid()) {
        ui::Messages::current().warning(this, QStringLiteral("Elija en la lista el grupo y subgrupo"));
        return false;
    }
    const QString grupo = accountRows_->item(at.row(), 0)->data(Qt::UserRole).toString();
    const int subgrupo = accountRows_->item(at.row(), 1)->data(Qt::UserRole).toInt();
    try {
        const int changed = assignInventoryAccount(session(), grupo, subgrupo, account_->text());
        reloadAccounts();
        ui::Messages::current().information(
            this, QStringLiteral("Cuenta %1 asignada a %2 productos").arg(account_->text().trimmed()).arg(changed));
        return true;
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    } catch (const std::invalid_argument& e) {
        ui::Messages::current().warning(this, QString::fromUtf8(e.what()));
    }
    return false;
}

TFrmALM003::TFrmALM003(db::Session& session, QWidget* parent) : MasterWindow(session, units(), parent) {
    setObjectName(QStringLiteral("TFrmALM003"));
}

TFrmALM010::TFrmALM010(db::Session& session, QWidget* parent) : MasterWindow(session, conversions(), parent) {
    setObjectName(QStringLiteral("TFrmALM010"));
    // The list covers the whole table: from its first unit code to its last.
    const auto range = session.first(
        QStringLiteral("SELECT MIN(CODIGOUNIDAD), MAX(CODIGOUNIDAD) FROM UNIDADCONVERSION"));
    if (range) {
        rangeFromBox()->setText(range->at(0).toString().trimmed());
        rangeToBox()->setText(range->at(1).toString().trimmed());
    }
}

TFrmALM004::TFrmALM004(db::Session& session, QWidget* parent) : MasterWindow(session, costCentres(), parent) {
    setObjectName(QStringLiteral("TFrmALM004"));
}

TFrmALM006::TFrmALM006(db::Session& session, QWidget* parent) : MasterWindow(session, warehouses(), parent) {
    setObjectName(QStringLiteral("TFrmALM006"));
}

TFrmALM008::TFrmALM008(db::Session& session, QWidget* parent)
    : MasterWindow(session, documentTypes(), parent) {
    setObjectName(QStringLiteral("TFrmALM008"));
}

void TFrmALM008::beforePost() {
    // The posting account has three copies that the postings read; they follow it whenever it is
    // changed here.
    if (!fieldChanged(QStringLiteral("CUENTACONTABLEV"))) return;
    const QVariant account = dataset().value(QStringLiteral("CUENTACONTABLEV"));
    for (const char* copy : {"CUENTACONTABLEC", "CUENTACONTABLEI", "CUENTACONTABLECE"})
        dataset().setValue(QString::fromLatin1(copy), account);
}

TFrmCuenta::TFrmCuenta(db::Session& session, QWidget* parent) : MasterWindow(session, accountPairs(), parent) {
    setObjectName(QStringLiteral("TFrmCuenta"));
}

std::vector<std::pair<QString, ui::MasterWindowDeclaration>> masterDeclarations() {
    return {{QStringLiteral("TFrmALM005"), companies()},   {QStringLiteral("TFrmALM001"), groups()},
            {QStringLiteral("TFrmALM002"), subgroups()},   {QStringLiteral("TFrmALM003"), units()},
            {QStringLiteral("TFrmALM010"), conversions()}, {QStringLiteral("TFrmALM004"), costCentres()},
            {QStringLiteral("TFrmALM006"), warehouses()},  {QStringLiteral("TFrmALM008"), documentTypes()},
            {QStringLiteral("TFrmCuenta"), accountPairs()}};
}

} // namespace master
