#include "platform/report/Renderer.h"

#include "platform/report/Barcode.h"
#include "platform/report/Paginator.h"
#include "platform/report/ReportError.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>
#include <stdexcept>

namespace report {

namespace {

double pixelsPerMm(const QPainter& painter) {
    return painter.device()->logicalDpiX() / 25.4;
}

class DrawingSink : public PageSink {
public:
    DrawingSink(const Renderer& renderer, QPainter& painter, QPagedPaintDevice& device)
        : renderer_(renderer), painter_(painter), device_(device) {}

    void beginPage(int page) override {
        if (page > 1) device_.newPage();
    }
    void place(const Band& layout, int valuesBand, double top, int page) override {
        renderer_.drawBand(painter_, layout, valuesBand, top, page);
    }
    void endPage(int) override {}

private:
    const Renderer& renderer_;
    QPainter& painter_;
    QPagedPaintDevice& device_;
};

Qt::Alignment alignmentOf(Align a) {
    switch (a) {
    case Align::Left:
        return Qt::AlignLeft;
    case Align::Center:
        return Qt::AlignHCenter;
    case Align::Right:
        return Qt::AlignRight;
    }
    return Qt::AlignLeft;
}

} // namespace

void Renderer::applyPageLayout(QPagedPaintDevice& device, const ReportDefinition& def) {
    const double m = def.margin;
    device.setPageLayout(QPageLayout(QPageSize(def.pageSize), def.orientation, QMarginsF(m, m, m, m),
                                     QPageLayout::Millimeter));
}

int Renderer::render(QPagedPaintDevice& device, const ProgressFn& progress) const {
    QPainter painter;
    if (!painter.begin(&device))
        throw ReportError(QStringLiteral("No se pudo iniciar la impresión del informe"));
    const int pages = render(painter, device, progress);
    painter.end();
    return pages;
}

int Renderer::render(QPainter& painter, QPagedPaintDevice& device, const ProgressFn& progress) const {
    painter.setPen(Qt::black);
    DrawingSink sink(*this, painter, device);
    return Paginator(data_).run(sink, progress);
}

const QFont& Renderer::font(const Element& e) const {
    const double size = e.fontSize > 0 ? e.fontSize : data_.definition().fontSize;
    const quint64 key = (quint64(std::lround(size * 10)) << 2) | (e.bold ? 1 : 0) | (e.monospace ? 2 : 0);
    auto it = fonts_.find(key);
    if (it == fonts_.end()) {
        QFont f(e.monospace ? QStringLiteral("DejaVu Sans Mono") : data_.definition().fontFamily);
        if (e.monospace) f.setStyleHint(QFont::Monospace);
        f.setPointSizeF(size);
        f.setBold(e.bold);
        it = fonts_.insert(key, f);
    }
    return it.value();
}

void Renderer::drawBand(QPainter& painter, const Band& layout, int valuesBand, double top, int page) const {
    for (const Element& e : layout.elements)
        drawElement(painter, e, valuesBand, top, page);
}

void Renderer::drawElement(QPainter& painter, const Element& e, int valuesBand, double top, int page) const {
    const double k = pixelsPerMm(painter);
    const QRectF rect(e.x * k, (top + e.y) * k, e.width * k, e.height * k);
    switch (e.kind) {
    case Element::Kind::Line: {
        painter.save();
        painter.setPen(QPen(Qt::black, 0.25 * k));
        painter.drawLine(QPointF(rect.left(), rect.top()), QPointF(rect.right(), rect.top()));
        painter.restore();
        return;
    }
    case Element::Kind::Barcode: {
        const QString digits = data_.text(e, valuesBand, page);
        int modules = 0;
        try {
            modules = Barcode::width(digits);
        } catch (const std::invalid_argument&) {
            return; // a code that is not all digits prints nothing, as on the item labels
        }
        const double module = std::min(0.33 * k, rect.width() / modules);
        painter.save();
        painter.translate(rect.topLeft());
        painter.scale(module, rect.height() / Barcode::kHeight);
        Barcode::draw(painter, digits);
        painter.restore();
        return;
    }
    case Element::Kind::Picture: {
        QImage image = e.image;
        if (image.isNull() && !e.name.isEmpty()) {
            const QVariant v = data_.value(valuesBand, e.name);
            if (v.typeId() == QMetaType::QImage)
                image = v.value<QImage>();
            else
                image = QImage::fromData(v.toByteArray());
        }
        if (image.isNull()) return;
        const QSizeF size = QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRectF(rect.topLeft(), size), image);
        return;
    }
    default:
        break;
    }
    QString text = data_.text(e, valuesBand, page);
    if (text.isEmpty()) return;
    painter.setFont(font(e));
    // A text wider than its column is cut with an ellipsis so it never runs into the next column;
    // numbers are right-aligned and shown whole, since a cut amount would be a wrong amount.
    if (e.align != Align::Right) {
        const QFontMetricsF metrics(painter.font(), painter.device());
        if (metrics.horizontalAdvance(text) > rect.width())
            text = metrics.elidedText(text, Qt::ElideRight, rect.width());
    }
    painter.drawText(rect, int(alignmentOf(e.align) | Qt::AlignVCenter | Qt::TextSingleLine), text);
}

int Renderer::writePdf(const ReportData& data, const QString& path, const ProgressFn& progress) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("No se pudo crear el archivo %1: %2").arg(path, file.errorString()));
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Almacen"));
        writer.setTitle(data.definition().title);
        applyPageLayout(writer, data.definition());
        pages = Renderer(data).render(writer, progress);
    }
    if (!file.commit())
        throw ReportError(
            QStringLiteral("No se pudo escribir el archivo %1: %2").arg(path, file.errorString()));
    return pages;
}

} // namespace report
