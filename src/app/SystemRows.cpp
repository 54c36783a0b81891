#include "app/SystemRows.h"

#include "platform/db/Statement.h"

#include <QDateTime>

namespace app {

namespace {

MenuRow module(const char* description, const char* note) {
    return {0, 0, QString::fromUtf8(description), QString::fromUtf8(note)};
}

MenuRow program(int number, const char* description, const char* note) {
    return {1, number, QString::fromUtf8(description), QString::fromUtf8(note)};
}

void installMenu(db::Session& s) {
    if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM PROGRAMAS")).toInt() > 0) return;
    db::Statement insert(
        s, QStringLiteral("INSERT INTO PROGRAMAS (NUMEROPROGRAMA, DESCRIPCION, OBSERVACION, "
                          "INDIMAGEN, INDSELECION, NIVEL, PROGRAMA) VALUES (?, ?, ?, ?, ?, ?, ?)"));
    int number = 0;
    for (const MenuRow& row : SystemRows::menuRows()) {
        insert.bind(0, ++number);
        insert.bind(1, row.description);
        insert.bind(2, row.note);
        insert.bind(3, row.image());
        insert.bind(4, row.selectedImage());
        insert.bind(5, row.level);
        insert.bind(6, row.program);
        insert.execute();
    }
}

void installProfile(db::Session& s) {
    if (s.scalar(QStringLiteral("SELECT COUNT(*) FROM REGISTRO")).toInt() > 0) return;
    s.execute(QStringLiteral("INSERT INTO REGISTRO (NIT, NOMBRE) VALUES (?, ?)"),
              {SystemRows::kProfileNit, SystemRows::profileName()});
}

void installAdministrator(db::Session& s) {
    const db::Params byName{SystemRows::adminName()};
    if (s.first(QStringLiteral("SELECT FIRST 1 CODIGO FROM USUARIOS WHERE NOMBRE = ?"), byName)) return;

    // Code 1 by custom; an installation that gave it to someone else gets the next free one.
    int code = 1;
    if (s.first(QStringLiteral("SELECT CODIGO FROM USUARIOS WHERE CODIGO = 1")))
        code = s.scalar(QStringLiteral("SELECT MAX(CODIGO) FROM USUARIOS")).toInt() + 1;
    s.execute(QStringLiteral(
                  "INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO, FECHAHORA) VALUES (?, ?, ?, ?, ?)"),
              {code, SystemRows::adminName(), SystemRows::adminPassword(), QStringLiteral("T"),
               QDateTime::currentDateTime()});

    // A permission row left behind by a deleted user of the same code must not hide anything from the
    // administrator.
    const QString everything(SystemRows::kPermissionLength, QLatin1Char('1'));
    if (s.execute(QStringLiteral("UPDATE MENU SET OPCIONES = ? WHERE CODIGOUSUARIO = ?"),
                  {everything, code}) == 0)
        s.execute(QStringLiteral("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (?, ?)"),
                  {code, everything});
}

} // namespace

const std::vector<MenuRow>& SystemRows::menuRows() {
    static const std::vector<MenuRow> rows = {
        module("Archivos Maestros",
               "Tablas basicas del sistema: empresas, productos, bodegas, documentos y terceros."),
        program(1, "MANTENIMIENTO EMPRESAS",
                "Empresas que llevan inventario, con su NIT, fecha de corte y cuentas de retencion."),
        program(2, "Grupos de Almacen", "Grupos en que se clasifican los productos."),
        program(3, "SubGrupos de Almacen",
                "Subgrupos de productos, con una sola numeracion para todos los grupos."),
        program(4, "Unidades de Movimiento", "Unidades de medida de entrada, salida y almacenamiento."),
        program(5, "Conversion de Unidades",
                "Factores para convertir la unidad de entrada en la unidad de salida."),
        program(6, "Centro de Costos", "Centros de costos a los que se cargan las salidas y el presupuesto."),
        program(7, "Bodegas", "Bodegas donde se guarda el inventario."),
        program(8, "Productos",
                "Ficha de cada producto: precios, IVA, costo promedio, cuentas y codigo de barras."),
        program(9, "Documentos",
                "Tipos de documento: operador, clase, controles, cuentas y formato de impresion."),
        program(10, "TERCEROS", "Proveedores y clientes, con su digito de verificacion."),
        program(11, "Cuentas de Inventario Vs gastos", "Pares de cuenta de inventario y cuenta de gasto."),
        program(64, "REGISTRO", "Datos de la empresa que se imprimen en el encabezado de los informes."),

        module("Movimientos", "Entradas, salidas, ventas, notas y ajustes de inventario."),
        program(53, "Movimientos de Inventarios", "Elaboracion de documentos de inventario y sus lineas."),
        program(54, "CATALOGO DE PRODUCTOS", "Consulta de productos con sus precios y existencias."),
        program(221, "Activar Documento", "Vuelve a activar un documento de inventario cerrado."),
        program(801, "Copiar Datos",
                "Intercambio de movimientos entre la oficina principal y las sucursales."),

        module("Compras", "Requisiciones, aprobacion del comite de compras y ordenes de compra."),
        program(51, "Requisiciones", "Requisiciones por centro de costos y su aprobacion."),
        program(52, "ORDENES DE COMPRA",
                "Ordenes de compra a proveedores contra las requisiciones aprobadas."),
        program(203, "Listar Ordenes de Compra Pendientes", "Ordenes de compra con cantidades por recibir."),
        program(204, "Consulta Requisiciones y Ordenes",
                "Consulta de requisiciones y de las ordenes que las atienden."),
        program(211, "CONSECUTIVO O. COMPRA", "Listado de ordenes de compra por consecutivo."),
        program(215, "Comite (Productos Sin Orden de Compra)",
                "Productos aprobados por el comite que aun no tienen orden."),
        program(220, "Activar Orden de Compra", "Vuelve a activar una orden de compra."),
        program(222, "Activar Requisicion", "Vuelve a activar una requisicion."),

        module("Presupuesto",
               "Presupuesto por centro de costos, grupo y producto, y su comparacion con lo real."),
        program(101, "Presupuesto Inicial", "Elaboracion del presupuesto inicial del año."),
        program(100, "Informes Movimiento Vs Presupuesto",
                "Consumos del periodo comparados con el presupuesto."),
        program(213, "Informes Compras Vs Presupuesto", "Compras del periodo comparadas con el presupuesto."),

        module("Inventario Fisico", "Toma fisica: tarjetas, conteos y ajustes por diferencias."),
        program(403, "INVENTARIOS", "Registro de unidades contadas con lector de codigo de barras."),
        program(300, "PREPARAR TARJETAS", "Prepara las tarjetas de conteo con el saldo en libros."),
        program(301, "PRIMER CONTEO", "Digitacion del primer conteo."),
        program(302, "SEGUNDO CONTEO", "Digitacion del segundo conteo."),
        program(303, "TERCER CONTEO", "Digitacion del tercer conteo."),
        program(304, "AJUSTES DE INVENTARIOS", "Documentos de ajuste por las diferencias del conteo."),

        module("Informes", "Kardex, saldos, movimientos, consumos y ventas."),
        program(200, "KARDEX", "Movimiento detallado de un producto con saldos y costo promedio."),
        program(201, "Movimiento Diario de Almacen", "Documentos del dia por tipo de documento."),
        program(202, "MOVIMIENTO DE ALMACEN", "Movimientos por periodo, documento, bodega o tercero."),
        program(205, "Saldos de Almacen", "Existencias y valor del inventario a la fecha de corte."),
        program(206, "Saldos por Grupos", "Existencias agrupadas por grupo y subgrupo."),
        program(207, "Bajo Consumo", "Productos sin movimiento desde una fecha."),
        program(208, "Resumen Entradas a Almacen", "Entradas del periodo resumidas."),
        program(209, "Resumen Salidas de Almacen", "Salidas del periodo resumidas."),
        program(212, "Listado de Productos", "Listados de productos por grupo y subgrupo."),
        program(214, "Listar Consumos Directos", "Salidas cargadas directamente a los centros de costos."),
        program(216, "COMISIONES POR REFERENCIAS", "Comisiones de los asesores comerciales por referencia."),
        program(217, "Excel Movimiento", "Ventas por producto exportadas a hoja de calculo."),
        program(402, "INFORMES GENERALES", "Acceso a los demas informes del sistema."),

        module("Contabilidad", "Interfaz con la contabilidad: comprobantes y costo de ventas."),
        program(210, "INFORMES PARA CONTABILIDAD", "Comprobante de consumo de materiales para contabilidad."),
        program(601, "Asiento Para Contabilidad Ventas Diarias", "Asiento del costo de las ventas diarias."),

        module("Utilidades", "Consultas y herramientas de administracion."),
        program(12, "Consola de Datos", "Consulta y filtro de cualquier tabla, SQL libre y exportacion."),
        program(61, "Buscar Proveedor", "Busqueda de terceros por nombre o NIT."),
        program(62, "Buscar Producto", "Busqueda de productos por nombre o codigo."),
    };
    return rows;
}

void SystemRows::install(db::Session& session) {
    db::Transaction tr(session);
    installMenu(session);
    installProfile(session);
    installAdministrator(session);
    tr.commit();
}

} // namespace app
