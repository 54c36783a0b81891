#include "platform/report/ReportDefinition.h"

#include "platform/numbers/Format.h"

#include <QDate>
#include <cmath>

namespace report {

namespace {

Element make(Element::Kind kind, double x, double width) {
    Element e;
    e.kind = kind;
    e.x = x;
    e.width = width;
    return e;
}

} // namespace

Element text(double x, double width, const QString& text) {
    Element e = make(Element::Kind::Text, x, width);
    e.text = text;
    return e;
}

Element field(double x, double width, const QString& name, const QString& mask) {
    Element e = make(Element::Kind::Field, x, width);
    e.name = name;
    e.mask = mask;
    return e;
}

Element computed(double x, double width, std::function<QVariant(const BandValues&)> compute,
                 const QString& mask) {
    Element e = make(Element::Kind::Computed, x, width);
    e.compute = std::move(compute);
    e.mask = mask;
    return e;
}

Element pageNumber(double x, double width, const QString& prefix) {
    Element e = make(Element::Kind::PageNumber, x, width);
    e.text = prefix;
    return e;
}

Element printDate(double x, double width, const QString& mask) {
    Element e = make(Element::Kind::PrintDate, x, width);
    e.mask = mask;
    return e;
}

Element line(double x, double width) {
    Element e = make(Element::Kind::Line, x, width);
    e.height = 0;
    return e;
}

Element barcode(double x, double width, double height, const QString& name) {
    Element e = make(Element::Kind::Barcode, x, width);
    e.height = height;
    e.name = name;
    return e;
}

Element picture(double x, double width, double height, const QString& name) {
    Element e = make(Element::Kind::Picture, x, width);
    e.height = height;
    e.name = name;
    return e;
}

Element picture(double x, double width, double height, const QImage& image) {
    Element e = make(Element::Kind::Picture, x, width);
    e.height = height;
    e.image = image;
    return e;
}

QVariant Parameter::parse(const QString& text, QString* error) const {
    const QString t = text.trimmed();
    switch (type) {
    case Type::Text:
        return text;
    case Type::Integer: {
        const auto n = numbers::parseNumber(t);
        if (n && *n == std::trunc(*n) && std::fabs(*n) < 9e15) return qint64(*n);
        *error = QStringLiteral("El parámetro %1 debe ser un número entero: %2").arg(name, text);
        return {};
    }
    case Type::Number: {
        if (const auto n = numbers::parseNumber(t)) return *n;
        *error = QStringLiteral("El parámetro %1 debe ser un número (con punto decimal): %2").arg(name, text);
        return {};
    }
    case Type::Date: {
        for (const auto* format : {"dd/MM/yyyy", "d/M/yyyy", "yyyy-MM-dd"}) {
            const QDate d = QDate::fromString(t, QString::fromLatin1(format));
            if (d.isValid()) return d;
        }
        *error = QStringLiteral("El parámetro %1 debe ser una fecha dd/mm/aaaa: %2").arg(name, text);
        return {};
    }
    }
    return {};
}

const Band& ReportDefinition::band(BandKind kind, int group) const {
    switch (kind) {
    case BandKind::Title:
        return titleBand;
    case BandKind::PageHeader:
        return pageHeader;
    case BandKind::ColumnHeader:
        return columnHeader;
    case BandKind::GroupHeader:
        return groups.at(size_t(group)).header;
    case BandKind::Detail:
        return detail;
    case BandKind::GroupFooter:
        return groups.at(size_t(group)).footer;
    case BandKind::Summary:
        return summary;
    case BandKind::PageFooter:
        return pageFooter;
    }
    return detail;
}

const Parameter* ReportDefinition::parameter(const QString& wanted) const {
    for (const Parameter& p : parameters)
        if (p.name.compare(wanted, Qt::CaseInsensitive) == 0) return &p;
    return nullptr;
}

const Ordering* ReportDefinition::ordering(const QString& code) const {
    for (const Ordering& o : orderings)
        if (o.code == code) return &o;
    return nullptr;
}

QSizeF ReportDefinition::contentSize() const {
    QSizeF page = QPageSize(pageSize).size(QPageSize::Millimeter);
    if (orientation == QPageLayout::Landscape) page.transpose();
    return {page.width() - 2 * margin, page.height() - 2 * margin};
}

} // namespace report
