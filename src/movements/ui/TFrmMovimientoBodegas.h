#pragma once
// "Movimiento de Almacèn": the headers (MOVIMIENTO) of one company and document type. New documents
// are numbered on creation, the third party and dates come from the lookups by double-click, and
// ">> MOVIMIENTO PRODUCTOS" opens the lines of the current document.

#include "movements/DocumentTypes.h"
#include "movements/HeaderRules.h"
#include "platform/ui/MasterWindow.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace movements {

// What the chooser hands to the header window.
struct MovementChoice {
    QString empresa;
    DocumentType type;
    bool valuedIssues = true; // "Salidas Valorizadas Con Promedio Ponderado"
    bool costOfSales = false; // "Contabiliza Costo de Ventas"
    bool vatWithDiscount = false; // "Iva Con Descuento" of the header window
    bool shortCapture = false; // "Captura Corta" of the header window: fewer grid columns
};

class TFrmMovimientoBodegas : public ui::MasterWindow {
    Q_OBJECT
  public:
    TFrmMovimientoBodegas(db::Session& session, MovementChoice choice, QWidget* parent = nullptr);

    const MovementChoice& choice() const { return choice_; }
    // The document the window stands on (consecutivo 0 when there is none).
    HeaderKey currentKey() const;
    QLineEdit* searchNumberBox() const { return number_; }
    QGroupBox* thirdPartyBox() const { return thirdParty_; }
    QLabel* thirdPartyName() const { return thirdPartyName_; }

    // "Buscar X Consecutivo" and "Buscar X Factura" with the "No. a Reimprimir" box.
    bool searchByNumber();
    bool searchByInvoice();
    // Double-click on the document number: asks for the new number and renumbers.
    bool renumber(const QString& typed);
    // ">> MOVIMIENTO PRODUCTOS": the checks before the lines open; false after telling the user why.
    // The document's own lines, or the direct sale of ordered goods (">>&Venta Joyas": no invoice
    // checks, the order's own received quantities, no cost centre).
    enum class LinesFrom { Document, OrderDirectSale };
    bool prepareLines(LinesFrom from = LinesFrom::Document);

    // Leaving the order number of a document received against purchase orders: the order's supplier
    // becomes the third party. False, with "Orden de Compra No Existe", for an order that is not there.
    bool checkOrder();

    // Writes a chosen third party (supplier lookup) into CLIENTE and DESPACHARA.
    void setThirdParty(double nit);
    // Writes a chosen adviser into VENDEDOR and SOLICITADOPOR.
    void setAdviser(double nit);
    void setDate(const QDate& date);

  protected:
    void insertRow() override;
    void beforePost() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void showThirdParty();
    void showOnly(int number);
    void showAll();
    void setFieldText(const QString& column, const QString& text);
    void openLines(LinesFrom from);
    void productionOrder();
    bool postHeader(bool correctInvoiceDate);
    QCheckBox* vatWithDiscount_ = nullptr;
    QCheckBox* shortCapture_ = nullptr;
    QLineEdit* loadNumber_ = nullptr;

    MovementChoice choice_;
    QLabel* number_label_ = nullptr;
    QLineEdit* number_ = nullptr;
    QGroupBox* thirdParty_ = nullptr;
    QLabel* thirdPartyName_ = nullptr;
    QLineEdit* tpName_ = nullptr;
    QLineEdit* tpId_ = nullptr;
    QLineEdit* tpPhone_ = nullptr;
    QLineEdit* tpAddress_ = nullptr;
    QLineEdit* tpEmail_ = nullptr;
};

} // namespace movements
