// "documento": an inventory document from a text file of lines, through the same rules as the grid.

#include "cli/Cli.h"
#include "cli/DatabaseFiles.h"
#include "movements/DocumentHeaders.h"
#include "movements/LineCellRules.h"
#include "movements/LineRules.h"
#include "platform/db/DbError.h"
#include "platform/db/Session.h"
#include "platform/numbers/Format.h"

#include <QDate>
#include <QFile>

namespace cli {

namespace {

const QString kUsageText =
    QStringLiteral("Uso: almacen-cli documento BASE --empresa E --documento D --bodega B --fecha AAAA-MM-DD "
                   "--tercero NIT --lineas ARCHIVO [--valorizadas] [--iva-con-descuento] [--convertir]\n"
                   "Cada línea del archivo: PRODUCTO;CANTIDAD;PRECIOUNIDAD;DESCUENTO[;CENTROCOSTOS[;SUBPRODUCTO]]\n");

struct TypedLine {
    int fileLine = 0;
    movements::MovementLine line;
};

// Reads the whole file before anything is written: a bad line refuses the document.
std::optional<std::vector<TypedLine>> readLines(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("No se pudo abrir el archivo de líneas %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    std::vector<TypedLine> lines;
    int number = 0;
    while (!file.atEnd()) {
        ++number;
        const QString text = QString::fromUtf8(file.readLine()).trimmed();
        if (text.isEmpty()) continue;
        const QStringList f = text.split(QLatin1Char(';'));
        const auto bad = [&](const QString& why) {
            *error = QStringLiteral("Línea %1 del archivo (%2): %3").arg(number).arg(text, why);
            return std::nullopt;
        };
        if (f.size() < 4 || f.size() > 6) return bad(QStringLiteral("se esperan de 4 a 6 campos separados por ;"));
        TypedLine t{number, {}};
        bool ok = false;
        t.line.producto = f[0].trimmed().toInt(&ok);
        if (!ok || t.line.producto <= 0) return bad(QStringLiteral("el producto debe ser un número"));
        const auto quantity = numbers::parseNumber(f[1]);
        const auto price = numbers::parseNumber(f[2]);
        const auto discount = f[3].trimmed().isEmpty() ? std::optional<double>(0) : numbers::parseNumber(f[3]);
        if (!quantity || *quantity == 0) return bad(QStringLiteral("la cantidad debe ser un número distinto de cero"));
        if (!price || *price < 0) return bad(QStringLiteral("el precio debe ser un número no negativo"));
        if (!discount || *discount < 0 || *discount > 100)
            return bad(QStringLiteral("el descuento debe ser un porcentaje entre 0 y 100"));
        t.line.cantidad = *quantity;
        t.line.precioUnidad = *price;
        t.line.descuento = *discount;
        if (f.size() > 4) t.line.centroCostos = f[4].trimmed();
        if (f.size() > 5 && !f[5].trimmed().isEmpty()) {
            const int sub = f[5].trimmed().toInt(&ok);
            if (!ok) return bad(QStringLiteral("el subproducto debe ser un número"));
            t.line.subproducto = sub;
        }
        lines.push_back(t);
    }
    if (lines.empty()) {
        *error = QStringLiteral("El archivo %1 no tiene líneas").arg(path);
        return std::nullopt;
    }
    return lines;
}

int documento(const Args& args, Context& ctx) {
    for (const char* required : {"empresa", "documento", "bodega", "fecha", "tercero", "lineas"})
        if (args.value(QString::fromLatin1(required)).trimmed().isEmpty() || args.positional().size() != 1) {
            ctx.err << "Falta " << (args.positional().size() != 1 ? QStringLiteral("la base de datos")
                                                                  : QStringLiteral("--") + QString::fromLatin1(required))
                    << ".\n" << kUsageText;
            return kUsage;
        }
    const QDate fecha = QDate::fromString(args.value(QStringLiteral("fecha")), Qt::ISODate);
    bool ok = false;
    const int bodega = args.value(QStringLiteral("bodega")).toInt(&ok);
    const auto nit = numbers::parseNumber(args.value(QStringLiteral("tercero")));
    if (!fecha.isValid() || !ok || !nit) {
        ctx.err << (!fecha.isValid() ? QStringLiteral("La fecha debe escribirse AAAA-MM-DD")
                                     : !ok ? QStringLiteral("La bodega debe ser un número")
                                           : QStringLiteral("El tercero debe ser un NIT numérico"))
                << "\n";
        return kUsage;
    }
    QString error;
    const auto lines = readLines(args.value(QStringLiteral("lineas")), &error);
    if (!lines) {
        ctx.err << error << "\n";
        return kUsage;
    }
    auto s = ctx.attachExisting(args.positional()[0], args);
    if (!s) return kFailed;
    const QString empresa = args.value(QStringLiteral("empresa")).trimmed();
    const auto type = movements::DocumentType::byCode(*s, args.value(QStringLiteral("documento")).trimmed());
    const QString missing =
        !type ? QStringLiteral("El tipo de documento no existe")
        : !s->first(QStringLiteral("SELECT 1 FROM EMPRESAS WHERE EMPRESA = ?"), {empresa})
            ? QStringLiteral("La empresa no existe")
        : !s->first(QStringLiteral("SELECT 1 FROM BODEGAS WHERE BODEGA = ?"), {bodega}) ? QStringLiteral("La bodega no existe")
                                                                                       : QString();
    if (!missing.isEmpty()) {
        ctx.err << missing << "\n";
        return kFailed;
    }
    movements::LineOptions options;
    options.valuedIssues = args.has(QStringLiteral("valorizadas"));
    options.vatWithDiscount = args.has(QStringLiteral("iva-con-descuento"));
    const bool convert = args.has(QStringLiteral("convertir"));
    options.confirmConversion = [convert](const QString&, const QString&) { return convert; };

    const int number = movements::DocumentHeaders::create(
        *s, {.empresa = empresa, .documento = type->documento, .bodega = bodega, .fecha = fecha, .cliente = *nit});
    const movements::HeaderKey key{empresa, type->documento, number};
    ctx.out << "Documento " << type->documento << " No. " << number << "\n";
    movements::LineRules rules(*s);
    movements::HeaderTotals totals;
    for (const TypedLine& t : *lines) {
        movements::MovementLine line = t.line;
        line.cantidad = movements::LineCellRules::signedQuantity(line.cantidad, *type);
        line.cantidadRecibida = line.cantidad;
        try {
            totals = rules.post(key, line, true, options).totals;
        } catch (const movements::LineRefused& e) {
            ctx.err << "Línea " << t.fileLine << " del archivo: " << e.message() << "\n";
            return kFailed;
        } catch (const db::DbError& e) {
            ctx.err << "Línea " << t.fileLine << " del archivo: " << e.engineText() << "\n";
            return kFailed;
        }
    }
    const QString mask = QStringLiteral("###,###.00");
    ctx.out << "Subtotal " << numbers::formatMask(totals.subtotal, mask) << "  Descuento "
            << numbers::formatMask(totals.descuento, mask) << "  Iva " << numbers::formatMask(totals.iva, mask)
            << "  Neto " << numbers::formatMask(totals.neto, mask) << "\n";
    return kOk;
}

} // namespace

void registerDocumentCommands() {
    commands()[QStringLiteral("documento")] = {
        QStringLiteral("Crea un documento de inventario y registra sus líneas desde un archivo"),
        QStringLiteral("BASE --empresa E --documento D --bodega B --fecha AAAA-MM-DD --tercero NIT --lineas ARCHIVO "
                       "[--valorizadas] [--iva-con-descuento] [--convertir]"),
        {QStringLiteral("empresa"), QStringLiteral("documento"), QStringLiteral("bodega"), QStringLiteral("fecha"),
         QStringLiteral("tercero"), QStringLiteral("lineas")},
        {QStringLiteral("valorizadas"), QStringLiteral("iva-con-descuento"), QStringLiteral("convertir")},
        documento};
}

} // namespace cli
