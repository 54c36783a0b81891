#pragma once
// The output dialog of a prepared report: on screen ("Pantalla", a preview the user may print from),
// to a file ("Archivo": HTML, text, .xlsx or PDF by the file's extension) or to a spreadsheet
// ("Excel": a real .xlsx opened with the desktop's program).

#include "platform/report/Output.h"
#include "platform/report/ReportData.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace report {

class TFrmInforme : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInforme(std::shared_ptr<const ReportData> data, QWidget* parent = nullptr);

    // The report's name in capitals: the caption and the default file name.
    QString reportName() const { return name_; }

    static QString filters();

private:
    void mediumChanged();
    void browse();
    void print();
    // The file and form "Archivo" writes for the name typed; an old ".xls" name gets a real .xlsx.
    std::pair<QString, OutputFormat> fileTarget() const;
    void toFile();
    void toSpreadsheet();
    bool progress(const Progress& p);

    std::shared_ptr<const ReportData> data_;
    QString name_;
    QRadioButton* file_;
    QRadioButton* spreadsheet_;
    QRadioButton* screen_;
    QLineEdit* path_;
    QPushButton* browse_;
    QPushButton* print_;
    QPushButton* cancel_;
    QProgressBar* progress_;
    bool working_ = false;
    bool cancelRequested_ = false;
};

} // namespace report
