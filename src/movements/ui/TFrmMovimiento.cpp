#include "movements/ui/TFrmMovimiento.h"

#include "movements/ui/OtherWindows.h"
#include "movements/ui/TFrmMovimientoBodegas.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/EnterMovesFocus.h"
#include "platform/ui/Messages.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace movements {

TFrmMovimiento::TFrmMovimiento(db::Session& session, QString userName, QString userType, QWidget* parent)
    : QDialog(parent), session_(session), userName_(std::move(userName)), userType_(std::move(userType)) {
    setObjectName(QStringLiteral("TFrmMovimiento"));
    setWindowTitle(QStringLiteral("Movimientos de Inventarios"));
    auto* layout = new QVBoxLayout(this);

    auto* companyBox = new QGroupBox(QStringLiteral("Empresa"), this);
    auto* companyRow = new QHBoxLayout(companyBox);
    companyName_ = new QLabel(companyBox);
    companyName_->setObjectName(QStringLiteral("lblEmpresa"));
    QFont bold = companyName_->font();
    bold.setBold(true);
    companyName_->setFont(bold);
    companyRow->addWidget(companyName_, 1);
    companies_ = new db::Dataset(session_, {.table = QStringLiteral("EMPRESAS")}, this);
    const struct {
        const char* name;
        const char* text;
        const char* hint;
        std::function<void()> run;
    } navigator[] = {
        {"navFirst", "|<", "Primero", [this] { companies_->first(); }},
        {"navPrior", "<", "Anterior", [this] { companies_->prior(); }},
        {"navNext", ">", "Siguiente", [this] { companies_->next(); }},
        {"navLast", ">|", "Último", [this] { companies_->last(); }},
        {"navRefresh", "\u21bb", "Refrescar", [this] { companies_->refresh(); }},
    };
    for (const auto& n : navigator) {
        auto* b = new QPushButton(QString::fromUtf8(n.text), companyBox);
        b->setObjectName(QString::fromLatin1(n.name));
        b->setToolTip(QString::fromUtf8(n.hint));
        b->setAutoDefault(false);
        b->setFixedWidth(36);
        connect(b, &QPushButton::clicked, this, [this, run = n.run] {
            try {
                run();
            } catch (const db::DbError& e) {
                ui::Messages::current().error(this, e.engineText());
            }
        });
        companyRow->addWidget(b);
    }
    layout->addWidget(companyBox);

    auto* typeBox = new QGroupBox(QStringLiteral("Documento"), this);
    auto* typeLayout = new QVBoxLayout(typeBox);
    types_ = new QListWidget(typeBox);
    types_->setObjectName(QStringLiteral("lstDocumentos"));
    connect(types_, &QListWidget::itemActivated, this, [this] { accept(); });
    typeLayout->addWidget(types_);
    layout->addWidget(typeBox, 1);

    valued_ = new QCheckBox(QStringLiteral("Salidas Valorizadas Con Promedio Ponderado"), this);
    valued_->setObjectName(QStringLiteral("chkValorizadas"));
    valued_->setChecked(true);
    costOfSales_ = new QCheckBox(QStringLiteral("Contabiliza Costo de Ventas"), this);
    costOfSales_->setObjectName(QStringLiteral("chkCostoVentas"));
    layout->addWidget(valued_);
    layout->addWidget(costOfSales_);

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("&Aceptar"), this);
    ok->setObjectName(QStringLiteral("btnAceptar"));
    ok->setDefault(true);
    auto* done = new QPushButton(QStringLiteral("&Terminar"), this);
    done->setObjectName(QStringLiteral("btnTerminar"));
    done->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TFrmMovimiento::accept);
    connect(done, &QPushButton::clicked, this, &QDialog::reject);
    // Inflation adjustments and the point-of-sale load, hidden as they were at design time.
    const auto hidden = [&](const char* text, const char* name, auto hook) {
        auto* b = new QPushButton(QString::fromUtf8(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->hide();
        connect(b, &QPushButton::clicked, this, [this, hook] {
            openOther(otherWindows().*hook, this, companies_->value(QStringLiteral("EMPRESA")).toString());
        });
        buttons->addWidget(b);
    };
    hidden("Ajustes Por Inflacion", "btnAjustesInflacion", &OtherWindows::inflationAdjustments);
    hidden("&Carga Ventas", "btnCargaVentas", &OtherWindows::salesLoad);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(done);
    layout->addLayout(buttons);

    connect(companies_, &db::Dataset::currentChanged, this, &TFrmMovimiento::showCompany);
    companies_->open();
    companies_->first();
    showCompany();
    rebuildTypes();
    resize(460, 480);
}

QString TFrmMovimiento::company() const {
    return companies_->isEmpty() ? QString() : companies_->value(QStringLiteral("EMPRESA")).toString();
}

void TFrmMovimiento::showCompany() {
    companyName_->setText(companies_->isEmpty() ? QStringLiteral("(no hay empresas)")
                                                : companies_->value(QStringLiteral("NOMBRE")).toString());
}

void TFrmMovimiento::rebuildTypes() {
    const QString kept = chosenType() ? chosenType()->documento : QString();
    offered_ = documentTypesForUser(session_, userName_, userType_);
    types_->clear();
    for (const auto& t : offered_) {
        auto* item = new QListWidgetItem(t.nombre, types_);
        item->setData(Qt::UserRole, t.documento);
        item->setToolTip(t.documento);
    }
    if (!offered_.empty()) types_->setCurrentRow(0);
    if (!kept.isEmpty()) chooseType(kept);
}

std::optional<DocumentType> TFrmMovimiento::chosenType() const {
    const int row = types_ ? types_->currentRow() : -1;
    if (row < 0 || size_t(row) >= offered_.size()) return std::nullopt;
    return offered_[size_t(row)];
}

void TFrmMovimiento::chooseType(const QString& code) {
    for (size_t i = 0; i < offered_.size(); ++i)
        if (offered_[i].documento == code) types_->setCurrentRow(int(i));
}

void TFrmMovimiento::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    try {
        rebuildTypes();
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    }
}

void TFrmMovimiento::accept() {
    const auto type = chosenType();
    if (company().isEmpty() || !type) {
        ui::Messages::current().warning(this, QStringLiteral("Elija la empresa y el tipo de documento"));
        return;
    }
    // Purchases and production issues go out at the weighted average by default.
    valued_->setChecked(type->entra == QStringLiteral("C") || type->entra == QStringLiteral("S"));
    try {
        TFrmMovimientoBodegas headers(session_, {company(), *type, valued_->isChecked(), costOfSales_->isChecked()},
                                      this);
        headers.exec();
    } catch (const db::DbError& e) {
        ui::Messages::current().error(this, e.engineText());
    }
    rebuildTypes();
}

} // namespace movements
