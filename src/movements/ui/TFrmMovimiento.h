#pragma once
// Program 53, "Movimientos de Inventarios": the user picks a company and a document type and opens
// the documents of that type with "&Aceptar".

#include "movements/DocumentTypes.h"

#include <QDialog>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace db {
class Dataset;
class Session;
} // namespace db

namespace movements {

class TFrmMovimiento : public QDialog {
    Q_OBJECT
  public:
    // userName and userType (USUARIOS.NOMBRE and ACTIVO) decide which document types are offered.
    TFrmMovimiento(db::Session& session, QString userName, QString userType, QWidget* parent = nullptr);

    QString company() const;
    // The chosen type, nullopt when the list is empty.
    std::optional<DocumentType> chosenType() const;
    void chooseType(const QString& code);
    QListWidget* typeList() const { return types_; }
    QCheckBox* valuedIssues() const { return valued_; }
    QCheckBox* costOfSales() const { return costOfSales_; }
    db::Dataset& companies() const { return *companies_; }

    // "&Aceptar": the header window of the chosen company and type, modal.
    void accept() override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void rebuildTypes();
    void showCompany();

    db::Session& session_;
    QString userName_;
    QString userType_;
    db::Dataset* companies_ = nullptr;
    QLabel* companyName_ = nullptr;
    QListWidget* types_ = nullptr;
    std::vector<DocumentType> offered_;
    QCheckBox* valued_ = nullptr;
    QCheckBox* costOfSales_ = nullptr;
};

} // namespace movements
