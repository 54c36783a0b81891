#include "platform/picture/Jpeg.h"

#include "platform/picture/FitWithin.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared before it
#include <cstdlib>
#include <jerror.h>
#include <jpeglib.h>

namespace picture {

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return. We jump back to the
// setjmp in the function that drove the library; those functions keep only trivially destructible
// locals, since a longjmp skips destructors.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    // Output line from which the data may end without harm: the start of the last row of blocks.
    JDIMENSION wholeFrom;
};

void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onMessage(j_common_ptr info, int level) {
    // A file that ends early decodes grey from the cut on: treat it as damaged. One that only lacks its
    // end marker (the data runs out while the last row of blocks is read) is whole, and other warnings
    // (stray bytes before a marker) are common in pictures that show fine everywhere.
    if (level >= 0 || info->err->msg_code != JWRN_JPEG_EOF) return;
    const auto* errors = reinterpret_cast<const ErrorManager*>(info->err);
    if (!info->is_decompressor ||
        reinterpret_cast<j_decompress_ptr>(info)->output_scanline < errors->wholeFrom)
        onError(info);
}

void silence(j_common_ptr) {}

void install(ErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.wholeFrom = ~JDIMENSION(0);
    errors.base.error_exit = onError;
    errors.base.emit_message = onMessage;
    errors.base.output_message = silence;
}

struct DecodeJob {
    const QByteArray& bytes;
    QSize box;
    bool headerOnly = false;
    JpegInfo info;
    QImage image;
};

void chooseScale(jpeg_decompress_struct& info, QSize box) {
    const QSize full(int(info.image_width), int(info.image_height));
    const QSize wanted = fitWithin(full, box);
    if (wanted == full) return;
    for (unsigned denominator : {8u, 4u, 2u}) {
        info.scale_num = 1;
        info.scale_denom = denominator;
        jpeg_calc_output_dimensions(&info);
        if (int(info.output_width) >= wanted.width() && int(info.output_height) >= wanted.height()) return;
    }
    info.scale_denom = 1;
}

// Print-oriented editors store CMYK inverted and say so in an APP14 segment; without one the values are
// plain CMYK.
void cmykToRgb(const JSAMPLE* cmyk, uchar* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int channel = 0; channel < 3; ++channel) {
            const int c = inverted ? cmyk[channel] : 255 - cmyk[channel];
            rgb[channel] = uchar((c * k + 127) / 255);
        }
    }
}

bool runDecode(DecodeJob& job) {
    jpeg_decompress_struct info{};
    ErrorManager errors;
    install(errors);
    info.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(job.bytes.constData()),
                 static_cast<unsigned long>(job.bytes.size()));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK || info.image_width == 0 || info.image_height == 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    job.info = {int(info.image_width), int(info.image_height), info.num_components};
    if (job.headerOnly) {
        jpeg_destroy_decompress(&info);
        return true;
    }

    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_RGB;
    chooseScale(info, job.box);
    jpeg_start_decompress(&info);
#if JPEG_LIB_VERSION >= 70
    const int blockRows = info.max_v_samp_factor * info.min_DCT_v_scaled_size;
#else
    const int blockRows = info.max_v_samp_factor * info.min_DCT_scaled_size;
#endif
    errors.wholeFrom = info.output_height - std::min(info.output_height, JDIMENSION(blockRows));

    job.image = QImage(int(info.output_width), int(info.output_height),
                       grey ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    if (job.image.isNull()) { // too large to hold
        jpeg_destroy_decompress(&info);
        return false;
    }
    JSAMPARRAY cmykRow = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                          info.output_width * 4, 1)
                              : nullptr;
    while (info.output_scanline < info.output_height) {
        uchar* line = job.image.scanLine(int(info.output_scanline));
        if (cmyk) {
            jpeg_read_scanlines(&info, cmykRow, 1);
            cmykToRgb(cmykRow[0], line, info.output_width, info.saw_Adobe_marker);
        } else {
            JSAMPROW row = line;
            jpeg_read_scanlines(&info, &row, 1);
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

struct EncodeJob {
    const QImage& image; // Grayscale8 or RGB888
    int quality;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
};

bool runEncode(EncodeJob& job) {
    jpeg_compress_struct info{};
    ErrorManager errors;
    install(errors);
    info.err = &errors.base;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &job.buffer, &job.size);
    const bool grey = job.image.format() == QImage::Format_Grayscale8;
    info.image_width = JDIMENSION(job.image.width());
    info.image_height = JDIMENSION(job.image.height());
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, job.quality, TRUE);
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(job.image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

// What the encoder takes: Grayscale8 for grey pictures, RGB888 otherwise, transparency laid on white
// (a logo with a transparent background would otherwise turn black).
QImage encodable(const QImage& image) {
    const bool grey = image.format() == QImage::Format_Grayscale8 ||
                      image.format() == QImage::Format_Grayscale16 ||
                      (image.depth() <= 8 && !image.hasAlphaChannel() && image.isGrayscale());
    if (grey) return image.convertToFormat(QImage::Format_Grayscale8);
    if (!image.hasAlphaChannel()) return image.convertToFormat(QImage::Format_RGB888);

    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    QImage rgb(rgba.size(), QImage::Format_RGB888);
    if (rgb.isNull()) return rgb;
    for (int y = 0; y < rgba.height(); ++y) {
        const uchar* in = rgba.constScanLine(y);
        uchar* out = rgb.scanLine(y);
        for (int x = 0; x < rgba.width(); ++x, in += 4, out += 3) {
            const int alpha = in[3];
            for (int channel = 0; channel < 3; ++channel)
                out[channel] = uchar((in[channel] * alpha + 255 * (255 - alpha) + 127) / 255);
        }
    }
    return rgb;
}

} // namespace

bool Jpeg::isJpeg(const QByteArray& bytes) {
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

std::optional<JpegInfo> Jpeg::readHeader(const QByteArray& bytes) {
    if (!isJpeg(bytes)) return std::nullopt;
    DecodeJob job{bytes, {}, true, {}, {}};
    if (!runDecode(job)) return std::nullopt;
    return job.info;
}

QImage Jpeg::decode(const QByteArray& bytes, int maxWidth, int maxHeight) {
    if (!isJpeg(bytes)) return {};
    DecodeJob job{bytes, QSize(maxWidth, maxHeight), false, {}, {}};
    if (!runDecode(job)) return {};
    return job.image;
}

QByteArray Jpeg::encode(const QImage& image, int quality) {
    if (image.isNull()) return {};
    const QImage input = encodable(image);
    if (input.isNull()) return {};
    EncodeJob job{input, std::clamp(quality, 1, 100)};
    const bool ok = runEncode(job);
    QByteArray bytes;
    if (ok) bytes = QByteArray(reinterpret_cast<const char*>(job.buffer), qsizetype(job.size));
    std::free(job.buffer); // allocated by libjpeg's memory destination, ours to release
    return bytes;
}

} // namespace picture
