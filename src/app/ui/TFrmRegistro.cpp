#include "app/ui/TFrmRegistro.h"

#include "app/TDMGeneral.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/numbers/Format.h"
#include "platform/picture/Picture.h"
#include "platform/ui/PictureFile.h"
#include "platform/ui/EnterMovesFocus.h"
#include "platform/ui/Messages.h"

#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {

TFrmRegistro::TFrmRegistro(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmRegistro"));
    setWindowTitle(QStringLiteral("REGISTRO"));
    data_ = new db::Dataset(TDMGeneral::instance()->DbAlmacen(), {.table = QStringLiteral("REGISTRO")}, this);

    auto edit = [this](const char* name, int length) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMaxLength(length);
        return e;
    };
    nombre_ = edit("edtNombre", 40);
    nit_ = edit("edtNit", 20);
    direccion_ = edit("edtDireccion", 40);
    telefonos_ = edit("edtTelefonos", 30);
    email_ = edit("edtMail", 60);
    logo_ = new QLabel(this);
    logo_->setObjectName(QStringLiteral("imgLogo"));
    logo_->setFixedSize(240, 120);
    logo_->setFrameShape(QFrame::StyledPanel);
    logo_->setAlignment(Qt::AlignCenter);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("NOMBRE EMPRESA"), nombre_);
    form->addRow(QStringLiteral("NIT"), nit_);
    form->addRow(QStringLiteral("Direccion"), direccion_);
    form->addRow(QStringLiteral("Telefonos"), telefonos_);
    form->addRow(QStringLiteral("Mail"), email_);
    form->addRow(QString(), logo_);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto* editB = button(QStringLiteral("Editar"), "btnEditar");
    auto* postB = button(QStringLiteral("Grabar"), "btnGrabar");
    auto* cancelB = button(QStringLiteral("Cancelar"), "btnCancelar");
    auto* logoB = button(QStringLiteral("Carga logo"), "btnCargaLogo");
    auto* printB = button(QStringLiteral("Imprimir"), "btnImprimir");
    auto* buttons = new QHBoxLayout;
    for (auto* b : {editB, postB, cancelB}) buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(logoB);
    buttons->addWidget(printB);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(editB, &QPushButton::clicked, this, [this] { close(); });
    connect(postB, &QPushButton::clicked, this, [this] {
        if (post()) close();
    });
    connect(cancelB, &QPushButton::clicked, this, [this] {
        cancel();
        close();
    });
    connect(logoB, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Logo de la empresa"), QString(),
                                                          ui::pictureFileFilter());
        if (!file.isEmpty()) loadLogo(file);
    });
    connect(printB, &QPushButton::clicked, this, [this] {
        QPrinter printer;
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted) return;
        QPainter painter(&printer);
        const QPixmap shot = grab();
        painter.drawPixmap(0, 0, shot);
    });

    ui::EnterMovesFocus::install(this);
    try {
        data_->open();
        showRow();
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    }
}

TFrmRegistro::~TFrmRegistro() = default;

void TFrmRegistro::showRow() {
    if (data_->isEmpty()) return;
    const db::Row& r = data_->current();
    nombre_->setText(r.text(QStringLiteral("NOMBRE")));
    nit_->setText(numbers::formatMask(r.number(QStringLiteral("NIT")), QStringLiteral("###,###.")));
    direccion_->setText(r.text(QStringLiteral("DIRECCION")));
    telefonos_->setText(r.text(QStringLiteral("TELEFONOS")));
    email_->setText(r.text(QStringLiteral("EMAIL")));
    showLogo(r[QStringLiteral("LOGO")].toByteArray());
}

void TFrmRegistro::showLogo(const QByteArray& bytes) {
    const QImage image = picture::Picture::load(bytes, logo_->size());
    if (!image.isNull())
        logo_->setPixmap(QPixmap::fromImage(image));
    else
        logo_->setText(QStringLiteral("Sin logo"));
}

bool TFrmRegistro::post() {
    const auto nit = numbers::parseNumber(nit_->text());
    if (!nit || *nit <= 0) {
        ui::Messages::current().warning(this, QStringLiteral("El NIT debe ser un número: %1").arg(nit_->text()));
        nit_->setFocus();
        return false;
    }
    try {
        if (data_->isEmpty())
            data_->insert();
        else
            data_->edit();
        data_->setValue(QStringLiteral("NIT"), *nit);
        data_->setValue(QStringLiteral("NOMBRE"), nombre_->text());
        data_->setValue(QStringLiteral("DIRECCION"), direccion_->text());
        data_->setValue(QStringLiteral("TELEFONOS"), telefonos_->text());
        data_->setValue(QStringLiteral("EMAIL"), email_->text());
        data_->post();
        return true;
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
        return false;
    }
}

void TFrmRegistro::cancel() {
    if (data_->state() != db::Dataset::State::Browse) data_->cancel();
}

bool TFrmRegistro::loadLogo(const QString& fileName) {
    const auto read = ui::readPictureFile(this, fileName);
    if (!read) return false;
    const QByteArray& bytes = *read;
    try {
        if (data_->isEmpty()) {
            ui::Messages::current().warning(this, QStringLiteral("Grabe primero el NIT de la empresa"));
            return false;
        }
        data_->edit();
        data_->setValue(QStringLiteral("LOGO"), bytes);
        data_->post();
        showLogo(bytes);
        return true;
    } catch (const db::DbError& e) {
        data_->cancel();
        ui::Messages::current().error(this, e.engineText());
        return false;
    }
}

} // namespace app
