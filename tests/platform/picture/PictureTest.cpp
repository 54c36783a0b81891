// Pictures as the logo and item windows use them: loaded from stored bytes of any common format at the
// size shown, and turned into JPEG bytes for storage.
#include "platform/picture/Picture.h"
#include "PictureSamples.h"

#include <QBuffer>
#include <gtest/gtest.h>

using picture::Picture;

namespace {

QByteArray saved(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

TEST(Picture, LoadsAnyFormatFittedIntoTheBox) {
    const QImage original = samples::quadrants();
    struct Format {
        const char* name;
        QByteArray bytes;
    } formats[] = {
        {"JPEG", Picture::forStorage(original)},
        {"PNG", saved(original, "PNG")},
        {"BMP", saved(original, "BMP")},
    };
    struct Box {
        QSize box;
        QSize expected;
    } boxes[] = {
        {QSize(), {800, 600}},      {{300, 300}, {300, 225}}, {{200, 150}, {200, 150}},
        {{1000, 1000}, {800, 600}}, {{0, 150}, {200, 150}},   {{120, -1}, {120, 90}},
    };
    for (const auto& f : formats) {
        ASSERT_FALSE(f.bytes.isEmpty()) << f.name;
        for (const auto& b : boxes) {
            const QImage image = Picture::load(f.bytes, b.box);
            EXPECT_EQ(b.expected, image.size()) << f.name << " in " << b.box.width() << "x" << b.box.height();
            for (int q = 0; q < 4; ++q)
                EXPECT_TRUE(samples::near(samples::kQuadrants[q],
                                          image.pixelColor(samples::quadrantCentre(image, q)), 10))
                    << f.name << " quadrant " << q;
        }
    }
}

TEST(Picture, StoredLogosKeepTheirSizeAndLoseTransparencyToWhite) {
    QImage logo(120, 40, QImage::Format_ARGB32);
    logo.fill(Qt::transparent);
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 60; x < logo.width(); ++x)
            logo.setPixelColor(x, y, QColor(20, 40, 160));

    const QByteArray stored = Picture::forStorage(logo);
    ASSERT_TRUE(stored.startsWith("\xFF\xD8\xFF"));
    const QImage back = Picture::load(stored);
    ASSERT_EQ(logo.size(), back.size());
    EXPECT_TRUE(samples::near(QColor(255, 255, 255), back.pixelColor(20, 20), 6));
    EXPECT_TRUE(samples::near(QColor(20, 40, 160), back.pixelColor(100, 20), 8));
}

TEST(Picture, BytesThatAreNoPictureGiveANullImage) {
    EXPECT_TRUE(Picture::load(QByteArray("no es una imagen")).isNull());
    EXPECT_TRUE(Picture::load({}, {100, 100}).isNull());
    EXPECT_TRUE(Picture::forStorage(QImage()).isEmpty());
}

} // namespace
