#pragma once
// JPEG through libjpeg: the header alone, decoding straight to a reduced scale (a thumbnail of a camera
// picture costs a fraction of a full decode) and encoding. A damaged file never takes the program down:
// it gives no header or a null image.

#include <QByteArray>
#include <QImage>
#include <optional>

namespace picture {

struct JpegInfo {
    int width = 0;
    int height = 0;
    int components = 0; // 1 grey, 3 colour, 4 CMYK
};

class Jpeg {
  public:
    // The JPEG signature FF D8 FF.
    static bool isJpeg(const QByteArray& bytes);
    static std::optional<JpegInfo> readHeader(const QByteArray& bytes);
    // Full size when maxWidth and maxHeight are 0 (a 0 leaves that side free). Otherwise the smallest of
    // the scales 1/2, 1/4, 1/8 whose result still covers the picture fitted into maxWidth x maxHeight
    // with its proportions kept; fitting exactly is the caller's job. Grey pictures come back as
    // Grayscale8, colour and CMYK ones as RGB888. A corrupt or truncated file gives a null image.
    static QImage decode(const QByteArray& bytes, int maxWidth = 0, int maxHeight = 0);
    // Baseline JPEG; a grey image stays one component, transparency is laid on white. Empty for a null
    // image.
    static QByteArray encode(const QImage& image, int quality = 85);
};

} // namespace picture
