#include "demo/DemoWriter.h"

#include "app/NitCheckDigit.h"
#include "app/SystemRows.h"
#include "platform/db/Statement.h"

#include <QDateTime>
#include <algorithm>
#include <stdexcept>

namespace demo {

using namespace model;

namespace {

using db::Params;

QString text(const char* s) {
    return QString::fromUtf8(s);
}
QVariant textOrNull(const char* s) {
    return s ? QVariant(QString::fromUtf8(s)) : QVariant();
}
QVariant flag(bool yes) {
    return yes ? QStringLiteral("S") : QStringLiteral("N");
}
QDateTime midnight(const QDate& d) {
    return QDateTime(d, QTime(0, 0));
}

void writeMasters(db::Session& s, const DemoSet& set) {
    const QDate& today = set.today;
    const auto& parties = set.parties;
    const auto& numbers = set.lastNumbers;
    s.execute(QStringLiteral("UPDATE REGISTRO SET NOMBRE = ?, DIRECCION = ?, TELEFONOS = ?, EMAIL = ?"),
              {parties.front().def->name, parties.front().address,
               QStringLiteral("(601) 742 3180 - 742 3181"), parties.front().email});

    const QDate yearStart(today.year(), 1, 1);
    const struct {
        const char* code;
        const char* name;
        double nit;
        const char* phones;
        const char* city;
        const char* selfWithholding;
    } companies[] = {
        {"01", "DEPOSITO SAN MATEO SEDE BOGOTA", parties.front().nit, "(601) 742 3180 - 742 3181",
         "BOGOTA D.C.", "N"},
        {"02", "DEPOSITO SAN MATEO SEDE TUNJA", 901245786, "(608) 745 2290", "TUNJA", "S"},
    };
    for (const auto& c : companies)
        s.execute(QStringLiteral(
                      "INSERT INTO EMPRESAS (EMPRESA, NOMBRE, CSCORDEN, NIT, TELEFONOS, CIUDAD, FECHACORTE, "
                      "IVA, EMPRESACONTABILIZA, VIGENCIA, FECHAINICIAL, FECHAFINAL, CUENTARETENCIONC, "
                      "CUENTARETENCIONV, AUTORETENEDORAIVA, PORCENTAJEAUTORETEIVA, CUENTARETENCIONIVA) "
                      "VALUES (?, ?, 0, ?, ?, ?, ?, 19, ?, ?, ?, ?, '23654001', '13551501', ?, 15, "
                      "'23670501')"),
                  Params{c.code, c.name,
                         QStringLiteral("%1-%2").arg(qint64(c.nit)).arg(app::NitCheckDigit::compute(c.nit)),
                         c.phones, c.city, midnight(today), c.code, today.year(), midnight(yearStart),
                         midnight(QDate(today.year(), 12, 31)), c.selfWithholding});

    for (const auto& g : DemoCatalog::groups())
        s.execute(QStringLiteral("INSERT INTO GRUPOS (GRUPO, NOMBRE) VALUES (?, ?)"), {g.code, g.name});
    for (const auto& sg : DemoCatalog::subGroups()) {
        QString account;
        for (const auto& g : DemoCatalog::groups())
            if (qstrcmp(g.code, sg.group) == 0) account = text(g.inventoryAccount);
        s.execute(QStringLiteral("INSERT INTO SUBGRUPOS (SUBGRUPO, NOMBRE, CUENTA) VALUES (?, ?, ?)"),
                  {sg.number, sg.name, account});
    }
    for (const auto& u : DemoCatalog::units())
        s.execute(QStringLiteral("INSERT INTO UNIDADES (UNIDAD, NOMBRE) VALUES (?, ?)"), {u.code, u.name});
    for (const auto& c : DemoCatalog::conversions())
        s.execute(QStringLiteral(
                      "INSERT INTO UNIDADCONVERSION (CODIGOUNIDAD, CODIGOUNIDADRECIBIR, CANTIDAD, OPERADOR) "
                      "VALUES (?, ?, ?, ?)"),
                  {c.from, c.to, c.factor, c.op});
    for (const auto& w : DemoCatalog::warehouses())
        s.execute(QStringLiteral("INSERT INTO BODEGAS (BODEGA, NOMBRE) VALUES (?, ?)"), {w.number, w.name});
    for (const auto& c : DemoCatalog::costCentres())
        s.execute(QStringLiteral("INSERT INTO CENTROCOSTOS (CENTROCOSTO, NOMBRE, AREA, EMPRESA, PRESUPUESTO) "
                                 "VALUES (?, ?, ?, ?, ?)"),
                  {c.code, c.name, c.area, c.company, c.budget});
    for (const auto& m : DemoCatalog::currencies())
        s.execute(QStringLiteral("INSERT INTO MONEDA (CODIGOMONEDA, DESCRIPCION) VALUES (?, ?)"),
                  {m.code, m.name});
    for (const auto& a : DemoCatalog::accountPairs())
        s.execute(QStringLiteral(
                      "INSERT INTO CUENTAS (CUENTAINVANTARIO, CUENTAGASTO, OBSERVACION) VALUES (?, ?, ?)"),
                  {a.inventory, a.expense, a.note});

    for (const auto& t : DemoCatalog::documentTypes()) {
        int last = 0;
        for (const auto& [key, number] : numbers)
            if (key.second == QLatin1String(t.code)) last = std::max(last, number);
        const QString code = text(t.code);
        const bool sale = qstrcmp(t.kind, "V") == 0;
        s.execute(QStringLiteral(
                      "INSERT INTO DOCUMENTOS (DOCUMENTO, NOMBRE, CODIGODOCUMENTO, CONSECUTIVO, OPERADOR, "
                      "ENTRA, CENTROCOSTOS, ORDENCOMPRA, CONTROLACCOSTOS, CONTROLASALDO, CONTROLSALDO, "
                      "SUBPRODUCTO, CONTROLAPROVEEDOR, CUENTAS, CUENTACONTABLEV, CUENTACONTABLEC, "
                      "CUENTACONTABLEI, CUENTACONTABLECE, CUENTACONTABLEIVAC, MONEDA, INFORME, "
                      "DOCUMENTOLEGALIZACION, DOCUMENTOCR, PREFIJO, RESOLUCIONFACTURACION) "
                      "VALUES (?, ?, ?, ?, ?, ?, ?, 'N', 'N', ?, ?, 'N', ?, ?, ?, ?, ?, ?, ?, 'COP', ?, ?, "
                      "?, ?, ?)"),
                  Params{code,
                         t.name,
                         code,
                         last,
                         t.op,
                         t.kind,
                         flag(t.costCentre),
                         flag(t.balanceControl),
                         flag(t.balanceControl),
                         flag(t.supplierControl),
                         t.posts,
                         t.account,
                         t.account,
                         t.account,
                         t.account,
                         textOrNull(t.vatAccount),
                         t.layout,
                         code,
                         sale ? QVariant(QStringLiteral("RC")) : QVariant(),
                         code,
                         sale ? QVariant(QStringLiteral(
                                    "Autorizacion de numeracion de facturacion No 18764000123456 "
                                    "del 2 de enero, prefijo FV del 1 al 50000, vigencia 24 "
                                    "meses. Somos responsables de IVA."))
                              : QVariant()});
    }
}

void writeItems(db::Session& s, const DemoSet& set) {
    db::Statement insert(
        s, QStringLiteral(
               "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, REFERENCIA, NOMBRE, UNIDAD, "
               "UNIDADS, UNIDADALMACEN, VALORUNIDAD, CANTIDADMINIMA, CANTIDADMAXIMA, PUNTOPEDIDO, "
               "ULTIMOPROVEEDOR, VALORPROMEDIO, VALORIVA, PRECIOCOMPRA, PRECIOMASIVA, CANTIDADEMPACADA, "
               "CODIGOBARRAS, AJUSTAINFLACION, CUENTACONTABLE, CUENTACONTABLEC, CUENTACONTABLEV, "
               "CUENTACONTABLEV1, CUENTACONTABLEIVAC, CUENTACONTABLEIVAV, CUENTACONTABLECOSTO, "
               "PROSACUENTADB, PROSACUENTACR, PROENCUENTADB, PROENCUENTACR, SALMCUENTADB, SALMCUENTACR) "
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, 'N', ?, ?, "
               "'41353501', '41353502', '24081001', '24080501', ?, '14100501', ?, ?, '14100501', "
               "'52959501', ?)"));
    db::Statement supplierPrice(s,
                                QStringLiteral("INSERT INTO PRODUCTOSPROVEEDOR (PRODUCTO, PROVEEDOR, VALOR) "
                                               "VALUES (?, ?, ?)"));
    db::Statement priceBreak(
        s, QStringLiteral("INSERT INTO PRODUCTOSVALORVENTA (PRODUCTO, UNIDAD, CANTIDAD, "
                          "VALORVENTAMOSTRADOR, VALORVENTAEMPRESA, IND) VALUES (?, ?, ?, ?, ?, ?)"));
    for (const Item& it : set.items) {
        // The cost account pairs with the inventory account of the same group (CUENTAS).
        const QString costAccount = QStringLiteral("6135350") + it.account.right(1);
        insert.bind(Params{it.code,
                           text(it.subGroup->group),
                           it.subGroup->number,
                           it.number,
                           it.reference,
                           it.name,
                           it.unit,
                           it.issueUnit,
                           it.issueUnit,
                           it.price,
                           it.minimum,
                           it.minimum * 6,
                           it.minimum * 2,
                           it.lastSupplier,
                           it.averageCost,
                           it.subGroup->vat,
                           it.cost,
                           flag(it.subGroup->vatIncluded),
                           it.conversion,
                           it.barcode.isEmpty() ? QVariant() : QVariant(it.barcode),
                           it.account,
                           it.account,
                           costAccount,
                           it.account,
                           it.account});
        insert.execute();

        for (const auto& [nit, price] : it.supplierPrices) {
            supplierPrice.bind(Params{it.number, nit, price});
            supplierPrice.execute();
        }
        for (const PriceBreak& b : it.breaks) {
            priceBreak.bind(Params{it.number, b.unit, b.quantity, b.counterPrice, b.companyPrice, b.index});
            priceBreak.execute();
        }
    }
}

void writeParties(db::Session& s, const DemoSet& set) {
    const auto& parties = set.parties;
    db::Statement insert(
        s, QStringLiteral(
               "INSERT INTO PROVEEDORES (NIT, DV, TIPOTERCERO, CLASETERCERO, NOMBRE, CONTACTO, DIRECCION, "
               "TELEFONO, CIUDAD, PAIS, EMAIL, CUPOCREDITO, CUPO, AUTERRETENEDOR, ICA, FECHACUMPLEANOS, "
               "FECHANACIMIENTO, NOTA, ZONA, VENDEDOR, COBRADOR, CUENTACONTABLEC, CUENTACONTABLEV, BLOQUEO, "
               "CLASECLIENTE, CONDICION, DESCUENTOAUT) "
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'COLOMBIA', ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
               "?, ?, ?)"));
    int adviser = 0;
    for (size_t i = 0; i < parties.size(); ++i) {
        const Party& p = parties[i];
        const CatalogParty& d = *p.def;
        const bool customer = d.role == PartyRole::Customer || d.role == PartyRole::Own;
        const bool supplier = d.role == PartyRole::Supplier;
        const bool dealer = customer && QLatin1String(d.customerClass) == QLatin1String("03");
        // One dealer is held back for arrears, so the block shows in the lists.
        const bool blocked = QLatin1String(d.name) == QLatin1String("DEPOSITO DE MATERIALES EL TRIUNFO");
        QString note;
        if (supplier)
            note = QStringLiteral("PROVEEDOR DE %1")
                       .arg(text(DemoCatalog::subGroups()[size_t(d.sells.front() - 1)].name));
        if (d.role == PartyRole::Adviser)
            note = QStringLiteral("ASESOR COMERCIAL V%1").arg(++adviser, 2, 10, QLatin1Char('0'));
        insert.bind(
            Params{p.nit,
                   QString::number(app::NitCheckDigit::compute(p.nit)),
                   d.person ? "P" : "C",
                   supplier || d.role == PartyRole::Adviser ? "P" : "C",
                   d.name,
                   p.contact,
                   p.address,
                   p.phone,
                   d.city,
                   p.email,
                   p.credit,
                   p.credit,
                   flag(!d.person && QString::fromUtf8(d.name).endsWith(QLatin1String(" S.A."))),
                   flag(!d.person),
                   p.birth.isValid() ? QVariant(p.birth.toString(QStringLiteral("dd/MM"))) : QVariant(),
                   p.birth.isValid() ? QVariant(midnight(p.birth)) : QVariant(),
                   note.isEmpty() ? QVariant() : QVariant(note),
                   customer ? QVariant(p.zone) : QVariant(),
                   customer ? QVariant(QStringLiteral("V%1").arg(1 + int(i % 3), 2, 10, QLatin1Char('0')))
                            : QVariant(),
                   customer ? QVariant(QStringLiteral("C01")) : QVariant(),
                   supplier ? QVariant("22050501") : QVariant(),
                   customer ? QVariant("13050501") : QVariant(),
                   blocked ? QVariant("7") : QVariant(),
                   customer ? QVariant(d.customerClass) : QVariant(),
                   customer ? QVariant(d.person ? "01" : "30") : QVariant(),
                   dealer ? 10 : 0});
        insert.execute();
    }

    // Building sites the larger customers have their orders delivered to.
    for (const Party& p : parties) {
        if (p.siteAddress.isEmpty()) continue;
        s.execute(QStringLiteral(
                      "INSERT INTO TERCEROSDIRECCIONES (NIT, NUMERODIRECCION, CONTACTO, DIRECCION, TELEFONO, "
                      "CIUDAD, PAIS, EMAIL) VALUES (?, 1, ?, ?, ?, ?, 'COLOMBIA', ?)"),
                  Params{p.nit, QStringLiteral("RESIDENTE DE OBRA"), p.siteAddress, p.sitePhone, p.def->city,
                         p.email});
    }
}

void writeUsers(db::Session& s, const DemoSet& set) {
    const QDate& today = set.today;
    const auto& menu = app::SystemRows::menuRows();
    for (const CatalogUser& u : DemoCatalog::users()) {
        // Position p of the permission string governs menu row p counted from 0; hiding a module
        // denies its programs too, as the users window stores it.
        QString options(app::SystemRows::kPermissionLength, QLatin1Char('1'));
        for (const char* hidden : u.hiddenModules) {
            size_t row = 0;
            while (row < menu.size() && menu[row].description != QLatin1String(hidden))
                ++row;
            if (row == menu.size()) throw std::logic_error(std::string("no menu module ") + hidden);
            for (size_t r = row; r < menu.size() && (r == row || menu[r].level > menu[row].level); ++r)
                if (r > 0) options[qsizetype(r - 1)] = QLatin1Char('0');
        }
        s.execute(QStringLiteral(
                      "INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO, FECHAHORA, FECHAVENCIMIENTO) "
                      "VALUES (?, ?, ?, ?, ?, ?)"),
                  Params{u.code, u.name, u.password, u.type, midnight(today.addDays(-120 + u.code)),
                         midnight(QDate(today.year() + 1, 12, 31))});
        s.execute(QStringLiteral("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (?, ?)"),
                  {u.code, options});
    }
}

void writeDocuments(db::Session& s, const DemoSet& set) {
    const auto& parties = set.parties;
    db::Statement header(
        s, QStringLiteral(
               "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, FECHA, CLIENTE, REMISION, "
               "FACTURA, STATUS, OBSERVACIONES, SUBTOTAL, DESCUENTO, IVA, NETO, VENDEDOR, PLAZO, "
               "SOLICITADOPOR, FLETE, DESPACHARA, TERMINOS, FORMAPAGO, RETENCION, RETEICA, RETEIVA, MONEDA, "
               "TASA, FECHAFACTURA) "
               "VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'C', ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, 0, 0, 0, 'COP', 1, "
               "?)"));
    db::Statement line(
        s,
        QStringLiteral(
            "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CENTROCOSTOS, "
            "CANTIDAD, PRECIOUNIDAD, VALORDESCUENTO, IVA, VALORIVA, SUBTOTAL, BODEGA, DESCUENTO, "
            "UNIDADMOVIMIENTO, CANTIDADRECIBIDA, OBSERVACION, COSTO) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (const Document& d : set.documents) {
        double subtotal = 0, discount = 0, vat = 0;
        for (const Line& l : d.lines) {
            subtotal += l.subtotal;
            discount += l.discount;
            vat += l.vatValue;
        }
        const Party& party = parties[size_t(d.party)];
        const bool sale = d.adviser >= 0;
        const bool credit = sale && QLatin1String(party.def->customerClass) != QLatin1String("01");
        const QString company = companyCode(d.company);
        const QString code = text(d.type->code);
        header.bind(
            Params{company,
                   code,
                   d.number,
                   d.warehouse,
                   midnight(d.date),
                   party.nit,
                   d.remission ? QVariant(d.remission) : QVariant(),
                   d.invoice,
                   d.remark,
                   subtotal,
                   discount,
                   vat,
                   subtotal + vat - discount,
                   sale ? QVariant(parties[size_t(d.adviser)].nit) : QVariant(),
                   credit ? 30 : 0,
                   sale ? QVariant("3") : QVariant(),
                   party.address,
                   sale ? QVariant(d.warehouse == 3 ? "RECOGE EN ALMACEN" : "ENTREGA EN OBRA") : QVariant(),
                   sale ? QVariant(credit ? "CREDITO 30 DIAS" : "CONTADO") : QVariant(),
                   midnight(d.date)});
        header.execute();
        int number = 0;
        for (const Line& l : d.lines) {
            line.bind(Params{company, code, d.number, ++number, l.item,
                             l.costCentre.isEmpty() ? QVariant() : QVariant(l.costCentre), l.quantity,
                             l.price, l.discount, l.vat, l.vatValue, l.subtotal, d.warehouse, l.discountPct,
                             l.unit, l.quantity, l.note.isEmpty() ? QVariant() : QVariant(l.note),
                             l.cost < 0 ? QVariant() : QVariant(l.cost)});
            line.execute();
        }
    }
}

} // namespace

void DemoWriter::write(db::Session& session, const DemoSet& set,
                       const std::function<void(const char*)>& step) {
    auto tell = [&](const char* what) {
        if (step) step(what);
    };
    tell("Empresas, tablas basicas y tipos de documento");
    writeMasters(session, set);
    tell("Productos");
    writeItems(session, set);
    tell("Terceros");
    writeParties(session, set);
    tell("Usuarios");
    writeUsers(session, set);
    tell("Documentos de inventario");
    writeDocuments(session, set);
}

} // namespace demo
