#pragma once
// The lists of the master tables, printed from their maintenance windows and by
// "almacen-cli report": "empresas", "grupos", "subgrupos", "unidades", "conversiones",
// "centroscostos", "bodegas", "documentos" and "cuentas".

namespace report {
class Registry;
}

namespace master {

void registerReports(report::Registry& registry);

} // namespace master
