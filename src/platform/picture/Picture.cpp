#include "platform/picture/Picture.h"

#include "platform/picture/FitWithin.h"
#include "platform/picture/Jpeg.h"

namespace picture {

namespace {
// Good enough that a logo prints cleanly, small enough that a catalogue of pictures stays light.
constexpr int kStorageQuality = 85;
} // namespace

QImage Picture::load(const QByteArray& bytes, QSize maxSize) {
    const QImage image = Jpeg::isJpeg(bytes) ? Jpeg::decode(bytes, maxSize.width(), maxSize.height())
                                             : QImage::fromData(bytes);
    if (image.isNull()) return image;
    const QSize target = fitWithin(image.size(), maxSize);
    if (target == image.size()) return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QByteArray Picture::forStorage(const QImage& image) {
    return Jpeg::encode(image, kStorageQuality);
}

} // namespace picture
