#include "app/TDMGeneral.h"
#include "app/ui/ProgramDispatcher.h"
#include "app/ui/TFrmAlmacen.h"
#include "app/ui/TFrmLogin.h"
#include "app/ui/TFrmRegistro.h"
#include "platform/picture/Jpeg.h"
#include "platform/ui/AppExit.h"
#include "platform/ui/Messages.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

QStringList topTexts(QTreeWidget* tree) {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->text(0);
    return out;
}

class Shell : public ::testing::Test {
protected:
    test::TestDatabase tdb;
    std::unique_ptr<app::TDMGeneral> dm;
    ui::ScopedRecordingMessages messages;
    std::vector<int> exits;
    std::function<void(int)> previousExit;

    void SetUp() override {
        auto& s = tdb.session();
        s.execute("INSERT INTO REGISTRO (NIT, NOMBRE) VALUES (900123456, 'Ferreteria La Union')");
        const char* menu[][3] = {{"0", "Inicio", "0"},   {"0", "Maestros", "0"}, {"1", "Bodegas", "7"},
                                 {"0", "Compras", "0"}, {"1", "Ordenes", "52"},  {"1", "Registro", "64"}};
        int n = 0;
        for (auto& m : menu)
            s.execute("INSERT INTO PROGRAMAS (NUMEROPROGRAMA, DESCRIPCION, NIVEL, PROGRAMA, INDIMAGEN, INDSELECION) "
                      "VALUES (?, ?, ?, ?, 0, 1)",
                      {++n, m[1], QString(m[0]).toInt(), QString(m[2]).toInt()});
        s.execute("INSERT INTO USUARIOS (CODIGO, NOMBRE, CLAVE, ACTIVO) VALUES (3, 'bodeguero', 'b0d', '1')");
        // Hides "Maestros" (row 1) and with it "Bodegas".
        s.execute("INSERT INTO MENU (CODIGOUSUARIO, OPCIONES) VALUES (3, '0')");
        dm = std::make_unique<app::TDMGeneral>(tdb.params(), db::ConnectionParams{});
        previousExit = ui::AppExit::setHandler([this](int code) { exits.push_back(code); });
    }
    void TearDown() override { ui::AppExit::setHandler(previousExit); }

    // Types into the login dialog once it is shown by the main window's "&Entrar".
    void loginWith(app::TFrmAlmacen& w, const QString& user, const QString& password) {
        QTimer::singleShot(0, [&w, user, password] {
            app::TFrmLogin* d = w.loginDialog();
            auto* login = d->findChild<QLineEdit*>("edtLogin");
            auto* pass = d->findChild<QLineEdit*>("edtPassword");
            QTest::keyClicks(login, user);
            QTest::keyClick(login, Qt::Key_Return);
            QTest::keyClicks(pass, password);
            QTest::keyClick(pass, Qt::Key_Return);
            auto* ok = d->findChild<QPushButton*>("btnOk");
            if (ok->isEnabled())
                QTest::mouseClick(ok, Qt::LeftButton);
            else
                d->reject();
        });
        w.enter();
    }
};

TEST_F(Shell, LoginThroughTheDialogShowsTheFilteredMenu) {
    app::TFrmAlmacen w(*dm, app::ProgramDispatcher::standard());
    w.show();
    EXPECT_EQ(QStringLiteral("[ Almacen ] <> [Ferreteria La Union  Nit : 900,123,456]"), w.windowTitle());
    EXPECT_FALSE(w.moduleMenu()->isVisible());

    loginWith(w, "bodeguero", "b0d");
    EXPECT_TRUE(messages->shown.isEmpty()) << messages->shown.join('|').toStdString();
    ASSERT_TRUE(dm->currentUser());
    EXPECT_EQ(3, dm->currentUser()->codigo);
    EXPECT_TRUE(w.moduleMenu()->isVisible());
    EXPECT_EQ(QStringList({"Inicio", "Compras"}), topTexts(w.moduleMenu()));
    EXPECT_EQ(2, w.moduleMenu()->topLevelItem(1)->childCount());
    EXPECT_FALSE(w.findChild<QAction*>("actSeguridades")->isEnabled());

    // A wrong password leaves the menu disabled until a login succeeds.
    loginWith(w, "bodeguero", "mal");
    EXPECT_EQ(QStringList({"Clave Incorecta! Por favor Verifique Clave"}), messages->shown);
    EXPECT_FALSE(w.moduleMenu()->isEnabled());
    EXPECT_TRUE(exits.empty());
}

TEST_F(Shell, FourthFailedCheckEndsTheApplication) {
    app::TFrmAlmacen w(*dm, app::ProgramDispatcher::standard());
    QTimer::singleShot(0, [&] {
        auto* d = w.loginDialog();
        auto* login = d->findChild<QLineEdit*>("edtLogin");
        for (const char* name : {"uno", "dos", "tres", "bodeguero"}) {
            login->setText(QString::fromLatin1(name));
            QTest::keyClick(login, Qt::Key_Return);
        }
        d->reject();
    });
    w.enter();
    EXPECT_EQ(4, messages->shown.size());
    EXPECT_EQ(QStringLiteral("Tiene Problemas con su identificación......Verifique"), messages->shown.back());
    EXPECT_EQ(std::vector<int>({1}), exits);
}

TEST_F(Shell, ClosingAsksAndNoKeepsTheWindow) {
    app::TFrmAlmacen w(*dm, app::ProgramDispatcher::standard());
    w.show();
    messages->answers = {false};
    EXPECT_FALSE(w.close());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(QStringList({"Esta seguro(a) que desea Salir?"}), messages->shown);
    messages->answers = {true};
    EXPECT_TRUE(w.close());
}

TEST_F(Shell, DispatcherOpensKnownNumbersAndIgnoresOthers) {
    app::ProgramDispatcher d;
    int opened = 0;
    d.add(64, [&](QWidget*) { ++opened; });
    EXPECT_EQ(app::ProgramDispatcher::Result::Opened, d.run("64", nullptr));
    EXPECT_EQ(app::ProgramDispatcher::Result::Unknown, d.run("65", nullptr));
    EXPECT_EQ(app::ProgramDispatcher::Result::NotANumber, d.run("", nullptr));
    EXPECT_EQ(app::ProgramDispatcher::Result::NotANumber, d.run("6x", nullptr));
    EXPECT_EQ(1, opened);
    EXPECT_EQ(2, messages->shown.size());
    EXPECT_TRUE(app::ProgramDispatcher::standard().has(64));
}

TEST_F(Shell, CompanyProfileSavesAndRefusesABadNit) {
    app::TFrmRegistro w;
    auto* nit = w.findChild<QLineEdit*>("edtNit");
    EXPECT_EQ(QStringLiteral("900,123,456"), nit->text());
    w.findChild<QLineEdit*>("edtNombre")->setText("Ferreteria La Union S.A.S.");
    nit->setText("90o");
    EXPECT_FALSE(w.post());
    EXPECT_EQ(1, messages->shown.size());
    nit->setText("800,200,300");
    EXPECT_TRUE(w.post());
    auto r = tdb.session().first("SELECT NIT, NOMBRE FROM REGISTRO");
    EXPECT_DOUBLE_EQ(800200300, r->number("NIT"));
    EXPECT_EQ(QStringLiteral("Ferreteria La Union S.A.S."), r->text("NOMBRE"));
}

TEST_F(Shell, LogoIsStoredFromAPictureFileAndAnythingElseIsRefused) {
    QTemporaryDir dir;
    QImage image(300, 120, QImage::Format_RGB32);
    image.fill(QColor(30, 90, 160));
    const QString jpeg = dir.filePath("logo.jpg");
    {
        QFile f(jpeg);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(picture::Jpeg::encode(image));
    }
    const QString text = dir.filePath("logo.txt");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("no soy una imagen");
    }
    app::TFrmRegistro w;
    EXPECT_FALSE(w.loadLogo(text));
    EXPECT_EQ(1, messages->shown.size());
    EXPECT_TRUE(tdb.session().first("SELECT LOGO FROM REGISTRO")->isNull("LOGO"));
    EXPECT_TRUE(w.loadLogo(jpeg));
    const QByteArray stored = tdb.session().scalar("SELECT LOGO FROM REGISTRO").toByteArray();
    EXPECT_EQ(300, picture::Jpeg::readHeader(stored)->width);
}

// Columns of black pixels drawn by the barcode on a white canvas.
int barcodeWidth(const QString& code) {
    QImage img(400, 80, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        QPainter p(&img);
        app::TDMGeneral::CreaCodigo(code, p);
    }
    int last = -1;
    for (int x = 0; x < img.width(); ++x)
        for (int y = 0; y < 80; ++y)
            if (qGray(img.pixel(x, y)) < 128) last = x;
    return last + 1;
}

TEST(CreaCodigo, PixelGeometry) {
    // Start code 4 px, the pair "12" 18 px (bars "10001", spaces "01001"), stop code 5 px.
    EXPECT_EQ(27, barcodeWidth("12"));
    EXPECT_EQ(9, barcodeWidth(""));
    EXPECT_EQ(barcodeWidth("12"), barcodeWidth("123"));
    EXPECT_THROW(barcodeWidth("12a4"), std::invalid_argument);
}

TEST(DigitoVerificacion, IsTheNitCheckDigit) {
    EXPECT_EQ(8, app::TDMGeneral::DigitoVerificacion("12345"));
    EXPECT_EQ(0, app::TDMGeneral::DigitoVerificacion("15"));
    EXPECT_EQ(1, app::TDMGeneral::DigitoVerificacion("4"));
}

} // namespace
