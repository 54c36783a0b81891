// "create" and "demo": make or upgrade an inventory database, with or without the demo data.

#include "app/SystemRows.h"
#include "cli/Cli.h"
#include "cli/DatabaseFiles.h"
#include "demo/DemoData.h"
#include "platform/db/SchemaUpgrader.h"
#include "schema/InventorySchema.h"

namespace cli {

namespace {

bool onePath(const Args& args, Context& ctx, const QString& usage) {
    if (args.positional().size() == 1) return true;
    ctx.err << (args.positional().isEmpty() ? "Falta la base de datos." : "Sobran argumentos.") << "\n"
            << "Uso: almacen-cli " << usage << "\n";
    return false;
}

int create(const Args& args, Context& ctx) {
    if (!onePath(args, ctx, QStringLiteral("create BASE"))) return kUsage;
    const auto params = ctx.connection(args.positional()[0], args);
    const auto upgrader = schema::inventoryUpgrader();
    if (databaseExists(params)) {
        auto session = db::Session::attach(params);
        const int before = db::SchemaUpgrader::currentVersion(*session);
        if (before > upgrader.latestVersion()) {
            ctx.err << "La base de datos tiene la versión " << before << ", más nueva que la de este programa ("
                    << upgrader.latestVersion() << "). Actualice el programa.\n";
            return kFailed;
        }
        const int ran = upgrader.upgrade(*session);
        app::SystemRows::install(*session);
        if (ran == 0)
            ctx.out << "La base de datos ya está al día (versión " << before << ").\n";
        else
            ctx.out << "Base de datos actualizada de la versión " << before << " a la " << upgrader.latestVersion()
                    << ".\n";
        return kOk;
    }
    createDatabase(params);
    ctx.out << "Base de datos creada: " << params.database << " (versión " << upgrader.latestVersion() << ").\n"
            << "Usuario administrador: ADMIN, clave: admin\n";
    return kOk;
}

int demo(const Args& args, Context& ctx) {
    if (!onePath(args, ctx, QStringLiteral("demo BASE [--force]"))) return kUsage;
    const auto params = ctx.connection(args.positional()[0], args);
    if (databaseExists(params)) {
        if (!args.has(QStringLiteral("force"))) {
            ctx.err << "La base de datos ya existe: " << params.database
                    << "\nUse --force para reemplazarla por una de demostración nueva.\n";
            return kFailed;
        }
        dropDatabase(params);
    }
    auto session = createDatabase(params, [&](db::Session& s) {
        demo::DemoData::load(s, [&](const QString& step) {
            ctx.out << "  " << step << "\n";
            ctx.out.flush();
        });
    });
    auto count = [&](const char* table) {
        return session->scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))).toInt();
    };
    ctx.out << "Base de datos de demostración creada: " << params.database << "\n"
            << "  Empresas: " << count("EMPRESAS") << ", bodegas: " << count("BODEGAS")
            << ", productos: " << count("PRODUCTOS") << ", terceros: " << count("PROVEEDORES") << "\n"
            << "  Documentos: " << count("MOVIMIENTO") << ", líneas: " << count("MOVIMIENTODETALLE")
            << ", usuarios: " << count("USUARIOS") << "\n"
            << "Usuario administrador: ADMIN, clave: admin\n";
    return kOk;
}

} // namespace

void registerDatabaseCommands() {
    commands()[QStringLiteral("create")] = {QStringLiteral("Crea una base de datos de inventarios o la actualiza"),
                                            QStringLiteral("BASE"),
                                            {},
                                            {},
                                            create};
    commands()[QStringLiteral("demo")] = {QStringLiteral("Crea una base de datos con datos de demostración"),
                                          QStringLiteral("BASE [--force]"),
                                          {},
                                          {QStringLiteral("force")},
                                          demo};
}

} // namespace cli
