#pragma once
// Choosing and reading a picture file for a blob column (company logo, item picture).

#include <QByteArray>
#include <QString>
#include <optional>

class QWidget;

namespace ui {

// The filter of the picture file chooser.
QString pictureFileFilter();

// The bytes of a file that holds a picture; nullopt after telling the user (in Spanish) that the file
// cannot be read or is not a picture.
std::optional<QByteArray> readPictureFile(QWidget* parent, const QString& fileName);

} // namespace ui
