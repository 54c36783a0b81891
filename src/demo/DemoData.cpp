#include "demo/DemoData.h"

#include "app/SystemRows.h"
#include "demo/DemoBuilder.h"
#include "demo/DemoWriter.h"

#include <QDate>
#include <stdexcept>

namespace demo {

void DemoData::load(db::Session& session, const std::function<void(const QString&)>& progress) {
    auto tell = [&](const char* what) {
        if (progress) progress(QString::fromUtf8(what));
    };
    for (const char* table : {"EMPRESAS", "PRODUCTOS", "MOVIMIENTO"})
        if (session.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(QLatin1String(table))).toInt() > 0)
            throw std::runtime_error(
                "La base de datos ya tiene empresas, productos o movimientos: los datos de "
                "demostracion solo se cargan en una base de datos nueva.");

    db::Transaction tr(session);
    app::SystemRows::install(session);
    tell("Preparando los datos de demostracion");
    const double ownNit = session.scalar(QStringLiteral("SELECT FIRST 1 NIT FROM REGISTRO")).toDouble();
    const model::DemoSet set = DemoBuilder::build(QDate::currentDate(), ownNit);
    DemoWriter::write(session, set, tell);
    tr.commit();
    tell("Datos de demostracion cargados");
}

} // namespace demo
