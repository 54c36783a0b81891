// The output dialog driven as a user would: choose the medium, type the file name, press "&IMPRIMIR".

#include "platform/report/ui/TFrmInforme.h"
#include "platform/report/DataPass.h"
#include "platform/report/Paginator.h"
#include "platform/report/SalesFixture.h"
#include "platform/report/TextExport.h"
#include "platform/ui/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using report::TFrmInforme;

class OutputDialog : public ::testing::Test {
protected:
    void SetUp() override { open(); }
    void open() {
        report::DataPass::Options o;
        o.parameters = {{QStringLiteral("DESDE"), QDate(2024, 1, 1)}};
        o.printedAt = QDateTime(QDate(2024, 3, 15), QTime(10, 0));
        data = report::DataPass::run(test::SalesFixture::definition(), fixture.db.session(), o);
        dialog = std::make_unique<TFrmInforme>(data);
        dialog->show();
    }

    template <class W> W* child(const char* name) {
        W* w = dialog->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(nullptr, w) << name;
        return w;
    }
    // On the round indicator: a radio button takes clicks on its indicator and its text only.
    void choose(const char* medium) {
        QRadioButton* b = child<QRadioButton>(medium);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
        ASSERT_TRUE(b->isChecked()) << medium;
    }
    void typeFileName(const QString& path) {
        QLineEdit* edit = child<QLineEdit>("salvarComo");
        edit->clear();
        QTest::keyClicks(edit, path);
    }
    void pressPrint() { QTest::mouseClick(child<QPushButton>("imprimir"), Qt::LeftButton); }
    QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    test::SalesFixture fixture;
    std::shared_ptr<const report::ReportData> data;
    std::unique_ptr<TFrmInforme> dialog;
    ui::ScopedRecordingMessages messages;
    QTemporaryDir dir;
};

TEST_F(OutputDialog, OpensOnTheScreenMediumWithTheReportsName) {
    EXPECT_EQ(QStringLiteral("VENTAS"), dialog->windowTitle());
    EXPECT_EQ(QStringLiteral("Medio de Salida"), dialog->findChild<QGroupBox*>()->title());
    EXPECT_TRUE(child<QRadioButton>("medioPantalla")->isChecked());
    EXPECT_EQ(QStringLiteral("Archivo"), child<QRadioButton>("medioArchivo")->text());
    EXPECT_EQ(QStringLiteral("Excel"), child<QRadioButton>("medioExcel")->text());
    EXPECT_FALSE(child<QLineEdit>("salvarComo")->isEnabled());
    EXPECT_TRUE(child<QLineEdit>("salvarComo")->text().endsWith(QStringLiteral("VENTAS.xlsx")));
    EXPECT_EQ(QStringLiteral("&IMPRIMIR"), child<QPushButton>("imprimir")->text());
    EXPECT_EQ(QStringLiteral("&Cancelar"), child<QPushButton>("cancelar")->text());
    EXPECT_EQ(QStringLiteral("Hoja Excel (*.xlsx);;Archivo de Internet (*.html);;Archivo de texto (*.txt)"),
              TFrmInforme::filters());
    choose("medioArchivo");
    EXPECT_TRUE(child<QLineEdit>("salvarComo")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("explorar")->isEnabled());
}

TEST_F(OutputDialog, FileMediumWritesTheFormOfTheNameTyped) {
    struct Case {
        const char* name;
        const char* written; // the file that appears
        QByteArray starts;
    } cases[] = {
        {"ventas.txt", "ventas.txt", report::TextExport::toString(*data).toUtf8()},
        {"ventas.html", "ventas.html", "<!DOCTYPE html>"},
        {"ventas.xls", "ventas.xlsx", "PK"}, // an old spreadsheet name gets a real spreadsheet
        {"ventas", "ventas", "<!DOCTYPE html>"},
    };
    for (const auto& c : cases) {
        open();
        choose("medioArchivo");
        typeFileName(dir.filePath(QString::fromLatin1(c.name)));
        pressPrint();
        EXPECT_EQ(QDialog::Accepted, dialog->result()) << c.name;
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(read(dir.filePath(QString::fromLatin1(c.written))).startsWith(c.starts)) << c.name;
    }
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join('\n').toStdString();
}

TEST_F(OutputDialog, AFailedWriteIsShownAndLeavesNoFile) {
    choose("medioArchivo");
    const QString path = dir.filePath(QStringLiteral("no-existe/ventas.txt"));
    typeFileName(path);
    pressPrint();
    ASSERT_EQ(1, messages->shown.size());
    EXPECT_TRUE(messages->shown[0].startsWith(QStringLiteral("No se pudo crear el archivo")))
        << messages->shown[0].toStdString();
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(dialog->isVisible()); // the user may correct the name
    EXPECT_TRUE(child<QPushButton>("imprimir")->isEnabled());

    typeFileName(QString());
    pressPrint();
    EXPECT_EQ(2, messages->shown.size());
}

TEST_F(OutputDialog, SpreadsheetMediumNamesAnXlsxFile) {
    choose("medioArchivo");
    typeFileName(dir.filePath(QStringLiteral("ventas.txt")));
    choose("medioExcel");
    EXPECT_EQ(dir.filePath(QStringLiteral("ventas.xlsx")),
              QDir::fromNativeSeparators(child<QLineEdit>("salvarComo")->text()));
}

TEST_F(OutputDialog, ScreenMediumPreviewsThePagesOfTheRenderer) {
    int previewPages = -1;
    // The preview is modal: look for it from inside its event loop, read its pages and close it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(w);
            if (!preview || !preview->isVisible()) continue;
            auto* widget = preview->findChild<QPrintPreviewWidget*>();
            widget->updatePreview();
            previewPages = widget->pageCount();
            preview->reject();
            poll.stop();
        }
    });
    poll.start(50);
    pressPrint();
    EXPECT_EQ(report::Paginator(*data).pageCount(), previewPages);
    EXPECT_EQ(QDialog::Accepted, dialog->result());
    EXPECT_TRUE(messages->shown.isEmpty());
}

} // namespace
