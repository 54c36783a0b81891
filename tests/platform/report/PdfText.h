#pragma once
// Reading a PDF back the way a user would copy it: pdftotext with the layout kept, one string a page.

#include <QString>
#include <QStringList>

namespace test {

QStringList pdfPages(const QString& path);
// Page `page` (from 1) as PNG bytes through pdftoppm, for comparing what two renderings look like.
QByteArray pdfPagePng(const QString& path, int page, int dpi = 50);

} // namespace test
