#include "platform/report/ui/TFrmInforme.h"

#include "platform/report/ReportError.h"
#include "platform/report/XlsxExport.h"
#include "platform/report/ui/Preview.h"
#include "platform/sheet/Workbook.h"
#include "platform/ui/Messages.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace report {

namespace {

const char* const kExcelFilter = "Hoja Excel (*.xlsx)";
const char* const kHtmlFilter = "Archivo de Internet (*.html)";
const char* const kTextFilter = "Archivo de texto (*.txt)";

QString withSuffix(const QString& path, const QString& suffix) {
    const QFileInfo info(path);
    if (info.suffix().compare(suffix, Qt::CaseInsensitive) == 0) return path;
    const QString base = info.suffix().isEmpty() ? path : path.left(path.size() - info.suffix().size() - 1);
    return base + QLatin1Char('.') + suffix;
}

} // namespace

QString TFrmInforme::filters() {
    return QStringList{QString::fromUtf8(kExcelFilter), QString::fromUtf8(kHtmlFilter),
                       QString::fromUtf8(kTextFilter)}
        .join(QStringLiteral(";;"));
}

TFrmInforme::TFrmInforme(std::shared_ptr<const ReportData> data, QWidget* parent)
    : QDialog(parent), data_(std::move(data)) {
    const ReportDefinition& def = data_->definition();
    name_ = (def.name.isEmpty() ? def.title : def.name).toUpper();
    setWindowTitle(name_);
    setObjectName(QStringLiteral("TFrmInforme"));

    auto* medium = new QGroupBox(QStringLiteral("Medio de Salida"), this);
    file_ = new QRadioButton(QStringLiteral("Archivo"), medium);
    spreadsheet_ = new QRadioButton(QStringLiteral("Excel"), medium);
    screen_ = new QRadioButton(QStringLiteral("Pantalla"), medium);
    file_->setObjectName(QStringLiteral("medioArchivo"));
    spreadsheet_->setObjectName(QStringLiteral("medioExcel"));
    screen_->setObjectName(QStringLiteral("medioPantalla"));
    screen_->setChecked(true);
    auto* mediumLayout = new QHBoxLayout(medium);
    mediumLayout->addWidget(file_);
    mediumLayout->addWidget(spreadsheet_);
    mediumLayout->addWidget(screen_);

    auto* label = new QLabel(QStringLiteral("&Salvar como: "), this);
    path_ = new QLineEdit(QDir::toNativeSeparators(QDir::current().filePath(name_ + QStringLiteral(".xlsx"))),
                          this);
    path_->setObjectName(QStringLiteral("salvarComo"));
    path_->setMinimumWidth(320);
    label->setBuddy(path_);
    browse_ = new QPushButton(QStringLiteral("Explorar"), this);
    browse_->setObjectName(QStringLiteral("explorar"));
    auto* pathLayout = new QHBoxLayout;
    pathLayout->addWidget(label);
    pathLayout->addWidget(path_, 1);
    pathLayout->addWidget(browse_);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progreso"));
    progress_->setVisible(false);

    print_ = new QPushButton(QStringLiteral("&IMPRIMIR"), this);
    print_->setObjectName(QStringLiteral("imprimir"));
    cancel_ = new QPushButton(QStringLiteral("&Cancelar"), this);
    cancel_->setObjectName(QStringLiteral("cancelar"));
    print_->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(print_);
    buttons->addWidget(cancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(medium);
    layout->addLayout(pathLayout);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    for (QRadioButton* b : {file_, spreadsheet_, screen_})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) mediumChanged();
        });
    connect(browse_, &QPushButton::clicked, this, &TFrmInforme::browse);
    connect(print_, &QPushButton::clicked, this, &TFrmInforme::print);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (working_)
            cancelRequested_ = true;
        else
            reject();
    });
    mediumChanged();
}

void TFrmInforme::mediumChanged() {
    const bool toDisk = !screen_->isChecked();
    path_->setEnabled(toDisk);
    browse_->setEnabled(toDisk);
    if (spreadsheet_->isChecked() && !path_->text().trimmed().isEmpty())
        path_->setText(withSuffix(path_->text().trimmed(), QStringLiteral("xlsx")));
}

void TFrmInforme::browse() {
    QFileDialog dialog(this, QStringLiteral("Grabar ") + name_ + QStringLiteral(" como: "));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters().split(QStringLiteral(";;")));
    const QString current = path_->text().trimmed();
    if (!current.isEmpty()) dialog.selectFile(current);
    const auto format = Output::formatForFile(current);
    if (format == OutputFormat::Html)
        dialog.selectNameFilter(QString::fromUtf8(kHtmlFilter));
    else if (format == OutputFormat::Text)
        dialog.selectNameFilter(QString::fromUtf8(kTextFilter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    QString chosen = dialog.selectedFiles().constFirst();
    if (QFileInfo(chosen).suffix().isEmpty()) {
        const QString filter = dialog.selectedNameFilter();
        chosen += filter == QString::fromUtf8(kHtmlFilter)   ? QStringLiteral(".html")
                  : filter == QString::fromUtf8(kTextFilter) ? QStringLiteral(".txt")
                                                             : QStringLiteral(".xlsx");
    }
    path_->setText(QDir::toNativeSeparators(chosen));
    if (screen_->isChecked()) file_->setChecked(true);
}

std::pair<QString, OutputFormat> TFrmInforme::fileTarget() const {
    const QString path = QDir::fromNativeSeparators(path_->text().trimmed());
    if (QFileInfo(path).suffix().compare(QLatin1String("xls"), Qt::CaseInsensitive) == 0)
        return {withSuffix(path, QStringLiteral("xlsx")), OutputFormat::Xlsx};
    // Any other name gets HTML, the form the file choices always gave.
    return {path, Output::formatForFile(path).value_or(OutputFormat::Html)};
}

bool TFrmInforme::progress(const Progress& p) {
    if (p.total > 0) {
        progress_->setRange(0, 1000);
        progress_->setValue(int(1000 * p.done / p.total));
    } else {
        progress_->setRange(0, 0);
    }
    QApplication::processEvents();
    return !cancelRequested_;
}

void TFrmInforme::toFile() {
    const auto [path, format] = fileTarget();
    Output::write(*data_, format, path, [this](const Progress& p) { return progress(p); });
}

void TFrmInforme::toSpreadsheet() {
    const QString path =
        withSuffix(QDir::fromNativeSeparators(path_->text().trimmed()), QStringLiteral("xlsx"));
    sheet::Workbook book;
    XlsxExport::fill(*data_, book.firstSheet());
    sheet::saveAndShow(book, path);
}

void TFrmInforme::print() {
    if (working_) return;
    if (!screen_->isChecked() && path_->text().trimmed().isEmpty()) {
        ::ui::Messages::current().warning(
            this, QStringLiteral("Escriba el nombre del archivo en \"Salvar como\"."));
        path_->setFocus();
        return;
    }
    working_ = true;
    cancelRequested_ = false;
    print_->setEnabled(false);
    progress_->setVisible(!screen_->isChecked());
    bool done = false;
    try {
        if (screen_->isChecked())
            Preview::exec(*data_, this);
        else if (spreadsheet_->isChecked())
            toSpreadsheet();
        else
            toFile();
        done = true;
    } catch (const Cancelled&) {
        // the user asked for it; nothing was written
    } catch (const ReportError& e) {
        ::ui::Messages::current().error(this, e.text());
    } catch (const sheet::SheetError& e) {
        ::ui::Messages::current().error(this, QString::fromUtf8(e.what()));
    }
    working_ = false;
    progress_->setVisible(false);
    print_->setEnabled(true);
    if (done) accept();
}

} // namespace report
