#include "app/ui/TFrmAboutBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace app {

TFrmAboutBox::TFrmAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmAboutBox"));
    setWindowTitle(QStringLiteral("A Cerca de:"));
    auto* title = new QLabel(QStringLiteral("<h2>Sistema de Almacén e Inventarios</h2>"), this);
    auto* text = new QLabel(QStringLiteral("Inventarios por bodega, costo promedio ponderado, compras con comité, "
                                           "presupuesto, tomas físicas e integración contable.<br><br>"
                                           "Versión %1")
                                .arg(QStringLiteral(ALMACEN_VERSION)),
                            this);
    text->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(text);
    layout->addWidget(buttons);
    setFixedWidth(420);
}

} // namespace app
