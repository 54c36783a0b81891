#pragma once
// Pictures the picture tests share: four flat-coloured quadrants, so colours can be compared after a
// lossy round trip away from the edges, and an encoder for the inverted CMYK files print designers send.

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <cstdlib>

namespace samples {

inline const QColor kQuadrants[4] = {{200, 30, 30}, {30, 180, 60}, {40, 60, 200}, {230, 200, 40}};

inline QImage quadrants(int width = 800, int height = 600, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, format);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, kQuadrants[(y >= height / 2) * 2 + (x >= width / 2)]);
    return image;
}

// The middle of quadrant q in an image of any size.
inline QPoint quadrantCentre(const QImage& image, int q) {
    return {image.width() / 4 + (q % 2) * image.width() / 2,
            image.height() / 4 + (q / 2) * image.height() / 2};
}

inline bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

} // namespace samples
