// JPEG files written, read back from disk and decoded at full and reduced scale; grey and CMYK
// pictures; damaged files that must give nothing instead of taking the program down.
#include "platform/picture/Jpeg.h"
#include "PictureSamples.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>
#include <jpeglib.h>

using picture::Jpeg;

namespace {

QByteArray throughFile(const QByteArray& bytes) {
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("foto.jpg")));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    file.close();
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

// A CMYK JPEG as print-oriented editors write it: values inverted, APP14 segment present.
QByteArray invertedCmyk(int width, int height, const uchar (&cmyk)[4]) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = 4;
    info.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<JSAMPLE> row(size_t(width) * 4);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c)
            row[size_t(x) * 4 + size_t(c)] = JSAMPLE(255 - cmyk[c]);
    while (info.next_scanline < info.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&info, &pointer, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

void expectQuadrants(const QImage& image, int tolerance, const char* what) {
    for (int q = 0; q < 4; ++q) {
        const QColor read = image.pixelColor(samples::quadrantCentre(image, q));
        EXPECT_TRUE(samples::near(samples::kQuadrants[q], read, tolerance))
            << what << " quadrant " << q << ": " << read.red() << "," << read.green() << "," << read.blue();
    }
}

TEST(Jpeg, RoundTripThroughAFile) {
    const QByteArray bytes = throughFile(Jpeg::encode(samples::quadrants()));
    ASSERT_TRUE(Jpeg::isJpeg(bytes));

    const auto header = Jpeg::readHeader(bytes);
    ASSERT_TRUE(header);
    EXPECT_EQ(800, header->width);
    EXPECT_EQ(600, header->height);
    EXPECT_EQ(3, header->components);

    const QImage image = Jpeg::decode(bytes);
    ASSERT_EQ(QSize(800, 600), image.size());
    EXPECT_EQ(QImage::Format_RGB888, image.format());
    expectQuadrants(image, 8, "full size");
}

TEST(Jpeg, DecodesAtTheSmallestScaleThatStillCoversTheBox) {
    const QByteArray bytes = Jpeg::encode(samples::quadrants());
    struct Case {
        int maxWidth;
        int maxHeight;
        QSize expected;
    } cases[] = {
        {0, 0, {800, 600}},     // no box: full size
        {200, 150, {200, 150}}, // 1/4 exactly
        {300, 300, {400, 300}}, // fits at 300x225: 1/4 would be too small, 1/2 covers it
        {100, 75, {100, 75}},   // 1/8
        {50, 50, {100, 75}},    // below 1/8 the fit is the caller's
        {1000, 1000, {800, 600}}, {0, 150, {200, 150}}, // one side free
        {399, 0, {400, 300}},
    };
    for (const auto& c : cases) {
        const QImage image = Jpeg::decode(bytes, c.maxWidth, c.maxHeight);
        EXPECT_EQ(c.expected, image.size()) << c.maxWidth << "x" << c.maxHeight;
        expectQuadrants(image, 10, "scaled");
    }
}

TEST(Jpeg, GreyPicturesStayGrey) {
    QImage grey(64, 48, QImage::Format_Grayscale8);
    for (int y = 0; y < grey.height(); ++y)
        for (int x = 0; x < grey.width(); ++x)
            grey.scanLine(y)[x] = uchar(x < 32 ? 40 : 210);
    const QByteArray bytes = Jpeg::encode(grey);

    EXPECT_EQ(1, Jpeg::readHeader(bytes)->components);
    const QImage image = Jpeg::decode(bytes);
    ASSERT_EQ(QImage::Format_Grayscale8, image.format());
    EXPECT_NEAR(40, image.constScanLine(24)[8], 4);
    EXPECT_NEAR(210, image.constScanLine(24)[56], 4);
}

TEST(Jpeg, InvertedCmykFromPrintDesignersBecomesRgb) {
    struct Case {
        uchar cmyk[4];
        QColor rgb;
    } cases[] = {
        {{0, 255, 255, 0}, QColor(255, 0, 0)},
        {{0, 128, 255, 0}, QColor(255, 127, 0)},
        {{0, 0, 0, 128}, QColor(127, 127, 127)},
        {{255, 0, 0, 64}, QColor(0, 191, 191)},
    };
    for (const auto& c : cases) {
        const QByteArray bytes = invertedCmyk(32, 16, c.cmyk);
        EXPECT_EQ(4, Jpeg::readHeader(bytes)->components);
        const QImage image = Jpeg::decode(bytes, 16, 8);
        ASSERT_EQ(QSize(16, 8), image.size());
        const QColor read = image.pixelColor(8, 4);
        EXPECT_TRUE(samples::near(c.rgb, read, 6))
            << int(c.cmyk[0]) << "," << int(c.cmyk[1]) << "," << int(c.cmyk[2]) << "," << int(c.cmyk[3])
            << " -> " << read.red() << "," << read.green() << "," << read.blue();
    }
}

TEST(Jpeg, DamagedFilesGiveNothingAndDoNotCrash) {
    const QByteArray good = Jpeg::encode(samples::quadrants(160, 120));
    QByteArray zeroWidth = good;
    const qsizetype frame = zeroWidth.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    zeroWidth[frame + 7] = 0; // SOF0: FF C0, length(2), precision(1), height(2), width(2)
    zeroWidth[frame + 8] = 0;
    QByteArray garbage("\xFF\xD8\xFF", 3);
    for (int i = 0; i < 2000; ++i)
        garbage.append(char((i * 37) % 251));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    samples::quadrants(16, 16).save(&buffer, "PNG");

    struct Case {
        const char* what;
        QByteArray bytes;
        bool header;
        bool picture;
    } cases[] = {
        {"empty", {}, false, false},
        {"signature only", QByteArray("\xFF\xD8\xFF", 3), false, false},
        {"garbage after the signature", garbage, false, false},
        {"zero width", zeroWidth, false, false},
        {"a PNG", png, false, false},
        {"cut in the header", good.left(40), false, false},
        {"cut in the middle of the picture", good.left(good.size() / 2), true, false},
        {"only the end marker missing", good.left(good.size() - 2), true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.header, Jpeg::readHeader(c.bytes).has_value()) << c.what;
        EXPECT_EQ(c.picture, !Jpeg::decode(c.bytes).isNull()) << c.what;
        EXPECT_EQ(c.picture, !Jpeg::decode(c.bytes, 40, 30).isNull()) << c.what;
    }
}

TEST(Jpeg, FilesAgreeWithQtsOwnJpegReader) {
    if (!QImageReader::supportedImageFormats().contains("jpeg")) GTEST_SKIP() << "Qt has no JPEG plugin here";
    const QByteArray ours = Jpeg::encode(samples::quadrants(), 90);
    expectQuadrants(QImage::fromData(ours, "JPEG"), 8, "ours read by Qt");

    QByteArray theirs;
    QBuffer buffer(&theirs);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(samples::quadrants().save(&buffer, "JPEG", 90));
    const QImage image = Jpeg::decode(theirs, 400, 300);
    EXPECT_EQ(QSize(400, 300), image.size());
    expectQuadrants(image, 8, "Qt's read by ours");
}

} // namespace
