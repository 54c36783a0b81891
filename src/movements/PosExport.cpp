#include "movements/PosExport.h"

#include "platform/db/Row.h"
#include "platform/db/Session.h"

#include <QDir>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringEncoder>
#include <cmath>
#include <stdexcept>

namespace movements {

namespace {

QString number(const QVariant& v) {
    if (v.isNull() || !v.isValid()) return QStringLiteral("0");
    return QString::number(v.toDouble(), 'g', 15);
}

QString text(const QVariant& v) {
    // The separator cannot appear inside a field.
    return v.toString().trimmed().replace(QLatin1Char(';'), QLatin1Char(','));
}

void save(const QString& folder, const QString& name, const QStringList& records) {
    const QString path = QDir(folder).filePath(name);
    QSaveFile file(path);
    QStringEncoder latin1(QStringEncoder::Latin1);
    QByteArray bytes;
    for (const QString& r : records)
        bytes += latin1.encode(r + QStringLiteral("\r\n"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("No se pudo escribir el archivo %1: %2").arg(path, file.errorString()).toStdString());
}

} // namespace

QString PosExport::defaultFolder() {
    const QString configured = qEnvironmentVariable("ALMACEN_POS_DIR");
    if (!configured.isEmpty()) return configured;
#ifdef Q_OS_WIN
    return QStringLiteral("c:\\Orvel\\Pos");
#else
    return QDir::homePath() + QStringLiteral("/.local/share/almacen/pos");
#endif
}

void PosExport::write(db::Session& s, const HeaderKey& k, const QString& folder) {
    if (!QDir().mkpath(folder))
        throw std::runtime_error(QStringLiteral("No se pudo crear la carpeta %1").arg(folder).toStdString());
    const db::Params key{k.empresa, k.documento, k.consecutivo};

    QStringList movement;
    for (const db::Row& r : s.all(QStringLiteral("SELECT PRODUCTO, CANTIDAD, IVA, PRECIOUNIDAD FROM MOVIMIENTODETALLE "
                                                 "WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ? ORDER BY LINEA"),
                                  key))
        movement << r.at(0).toString() + u';' + number(std::fabs(r.at(1).toDouble())) + u';' + number(r.at(2)) + u';' +
                        number(r.at(3)) + u';';

    QStringList items;
    for (const db::Row& r :
         s.all(QStringLiteral("SELECT P.PRODUCTO, P.REFERENCIA, P.NOMBRE, P.UNIDAD, P.VALORIVA, D.PRECIOUNIDAD "
                              "FROM MOVIMIENTODETALLE D JOIN PRODUCTOS P ON P.PRODUCTO = D.PRODUCTO "
                              "WHERE D.EMPRESA = ? AND D.DOCUMENTO = ? AND D.CONSECUTIVO = ? "
                              "ORDER BY P.PRODUCTO, P.REFERENCIA"),
               key))
        items << r.at(0).toString() + u';' + text(r.at(1)) + u';' + text(r.at(2)) + u';' + text(r.at(3)) + u';' +
                     number(r.at(4)) + u';' + number(r.at(5)) + u';';

    QStringList parties;
    const QVariant zone = s.scalar(
        QStringLiteral("SELECT SOLICITADOPOR FROM MOVIMIENTO WHERE EMPRESA = ? AND DOCUMENTO = ? AND CONSECUTIVO = ?"),
        key);
    for (const db::Row& r : s.all(QStringLiteral("SELECT NIT, NOMBRE, DIRECCION, TELEFONO FROM PROVEEDORES "
                                                 "WHERE SUBZONA = ? ORDER BY NIT"),
                                  {zone}))
        parties << number(r.at(0)) + u';' + text(r.at(1)) + u';' + text(r.at(2)) + u';' + text(r.at(3));

    save(folder, QStringLiteral("Movimiento.CSV"), movement);
    save(folder, QStringLiteral("Productos.CSV"), items);
    save(folder, QStringLiteral("Terceros.CSV"), parties);
}

} // namespace movements
