#include "platform/ui/PictureFile.h"

#include "platform/picture/Picture.h"
#include "platform/ui/Messages.h"

#include <QFile>

namespace ui {

QString pictureFileFilter() {
    return QStringLiteral("Imágenes (*.jpg *.jpeg *.png *.bmp *.gif);;Todos los archivos (*)");
}

std::optional<QByteArray> readPictureFile(QWidget* parent, const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        Messages::current().warning(parent, QStringLiteral("No se pudo leer el archivo %1").arg(fileName));
        return std::nullopt;
    }
    const QByteArray bytes = f.readAll();
    if (picture::Picture::load(bytes, QSize(16, 16)).isNull()) {
        Messages::current().warning(parent, QStringLiteral("El archivo %1 no es una imagen").arg(fileName));
        return std::nullopt;
    }
    return bytes;
}

} // namespace ui
