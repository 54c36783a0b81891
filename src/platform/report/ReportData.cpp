#include "platform/report/ReportData.h"

#include "platform/numbers/Format.h"

namespace report {

int ReportData::slot(const QString& name) {
    const QString key = name.toUpper();
    const auto it = index_.constFind(key);
    if (it != index_.constEnd()) return it.value();
    names_ << name;
    index_.insert(key, int(names_.size()) - 1);
    return int(names_.size()) - 1;
}

void ReportData::set(int band, const QString& name, const QVariant& value) {
    if (band < 0) {
        reportValues_.insert(name.toUpper(), value);
        return;
    }
    const int i = slot(name);
    auto& values = bands_[size_t(band)].values;
    if (int(values.size()) <= i) values.resize(size_t(i) + 1);
    values[size_t(i)] = value;
}

QVariant ReportData::value(int band, const QString& name) const {
    const QString key = name.toUpper();
    const int i = index_.value(key, -1);
    if (i >= 0) {
        for (int b = band; b >= 0; b = bands_[size_t(b)].parent) {
            const auto& values = bands_[size_t(b)].values;
            if (i >= int(values.size())) continue;
            if (b == band && i < columnCount_) return values[size_t(i)];
            if (values[size_t(i)].isValid()) return values[size_t(i)];
        }
    }
    return reportValues_.value(key);
}

QString ReportData::text(const Element& e, int band, int page) const {
    switch (e.kind) {
    case Element::Kind::Text:
        return e.text;
    case Element::Kind::Field:
    case Element::Kind::Barcode:
        return numbers::formatValue(value(band, e.name), e.mask);
    case Element::Kind::Computed:
        return e.compute ? numbers::formatValue(e.compute(BandValues(*this, band)), e.mask) : QString();
    case Element::Kind::PageNumber:
        return e.text + QString::number(page);
    case Element::Kind::PrintDate:
        return numbers::formatDate(printedAt_, e.mask);
    case Element::Kind::Line:
    case Element::Kind::Picture:
        return {};
    }
    return {};
}

} // namespace report
