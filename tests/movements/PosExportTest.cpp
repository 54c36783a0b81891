// The point-of-sale files of a document: content, number format, Latin-1 text, and no partial file.

#include "movements/PosExport.h"
#include "platform/db/Session.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

QByteArray read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

TEST(PosExport, WritesTheLinesItemsAndThirdPartiesOfTheDocument) {
    test::TestDatabase tdb;
    auto& s = tdb.session();
    for (const char* sql : {
             "INSERT INTO PRODUCTOS (CODIGO, GRUPO, SUBGRUPO, PRODUCTO, UNIDAD, NOMBRE, REFERENCIA, VALORIVA) "
             "VALUES ('01-1-7', '01', 1, 7, 'UN', 'CAÑO PVC; 1/2', 'R-7', 19)",
             "INSERT INTO MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO, BODEGA, SOLICITADOPOR) "
             "VALUES ('01', 'FP', 3, 1, 'Z1')",
             "INSERT INTO MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, PRODUCTO, CANTIDAD, IVA, "
             "PRECIOUNIDAD) VALUES ('01', 'FP', 3, 1, 7, -2.5, 19, 1234.5)",
             "INSERT INTO PROVEEDORES (NIT, NOMBRE, DIRECCION, TELEFONO, SUBZONA) "
             "VALUES (900123456, 'FERRETERIA NUÑEZ', 'CALLE 5', '555', 'Z1')",
             "INSERT INTO PROVEEDORES (NIT, NOMBRE, SUBZONA) VALUES (1, 'OTRA ZONA', 'Z2')",
         })
        s.execute(QString::fromUtf8(sql));
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("pos"));
    movements::PosExport::write(s, {QStringLiteral("01"), QStringLiteral("FP"), 3}, folder);

    EXPECT_EQ(read(folder + QStringLiteral("/Movimiento.CSV")), QByteArray("7;2.5;19;1234.5;\r\n"));
    EXPECT_EQ(read(folder + QStringLiteral("/Productos.CSV")),
              QByteArray("7;R-7;CA\xd1O PVC, 1/2;UN;19;1234.5;\r\n"));
    EXPECT_EQ(read(folder + QStringLiteral("/Terceros.CSV")),
              QByteArray("900123456;FERRETERIA NU\xd1" "EZ;CALLE 5;555\r\n"));
}

TEST(PosExport, AFolderThatCannotBeMadeIsToldAndNothingIsWritten) {
    test::TestDatabase tdb;
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("archivo")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_THROW(movements::PosExport::write(tdb.session(), {QStringLiteral("01"), QStringLiteral("FP"), 1},
                                             dir.filePath(QStringLiteral("archivo/pos"))),
                 std::runtime_error);
}

} // namespace
