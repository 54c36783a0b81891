#pragma once
// The pictures kept in database blobs (company logo, item pictures): read from the stored bytes at the
// size a window shows them, and turned into the bytes to store.

#include <QByteArray>
#include <QImage>
#include <QSize>

namespace picture {

class Picture {
  public:
    // JPEG (told by its signature, not by a file name) decodes at a reduced scale when maxSize asks for
    // less; PNG, BMP and the other formats Qt reads go through QImage. The result fits within maxSize
    // with its proportions kept and is never enlarged; an invalid maxSize, or a side <= 0, leaves that
    // side free. Null for bytes that are no picture.
    static QImage load(const QByteArray& bytes, QSize maxSize = {});
    // JPEG bytes for a blob column; transparent parts become white. Empty for a null image.
    static QByteArray forStorage(const QImage& image);
};

} // namespace picture
