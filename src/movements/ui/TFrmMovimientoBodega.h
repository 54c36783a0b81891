#pragma once
// The lines of one movement document (caption "R"): a grid in which the user types item, quantity,
// price or subtotal line after line. Leaving a cell checks and fills it; leaving a line (or Enter on
// its last cell) posts it through the line rules; the header's totals follow every post and delete.
// Closing offers the posting to accounting and marks the document closed. The windows of other parts
// it opens (posting, printed layouts, price calculator, name change) are reached through
// otherWindows().

#include "movements/DocumentCompletion.h"
#include "movements/LineCellRules.h"
#include "movements/LineRules.h"
#include "movements/ui/OtherWindows.h"
#include "movements/ui/TFrmMovimientoBodegas.h"

#include <QDialog>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace movements {

class TFrmMovimientoBodega : public QDialog {
    Q_OBJECT
  public:
    // Grid columns, in order.
    enum Column {
        Linea, Producto, Nombre, SubP, Subproducto, Referencia, Unidad, CCostos, Cantidad, Valor, Costo,
        PctDescuento, PctIva, Subtotal, ValorIva, ValorDescuento, Observacion, ColumnCount
    };

    TFrmMovimientoBodega(db::Session& session, MovementChoice choice, int consecutivo, QWidget* parent = nullptr);
    ~TFrmMovimientoBodega() override;

    QTableWidget* grid() const { return grid_; }
    HeaderKey document() const { return key_; }
    QLineEdit* retentionPercent() const { return retention_; }
    QString balanceStatus() const;

    // Leaves the cell (row, column) as moving away from it would: false when the cell refuses and
    // keeps the cursor.
    bool leaveCell(int row, int column);
    // Posts the line of a grid row through the line rules; false after telling the user why.
    bool postRow(int row);
    // Deletes the line of a grid row (after confirmation).
    bool deleteRow(int row);
    // "&Imprimir": withholding, the purchase order's received quantities, the point-of-sale files and
    // the printed document.
    bool print();
    // Stores the header fields typed in the window; false after telling the user why not.
    bool saveHeader();

  protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void loadLines();
    void addEmptyRow();
    void showLine(int row, const MovementLine& line);
    void showTotals();
    void showHeaderFields();
    void chooseAddress();
    MovementLine lineOf(int row) const;
    double number(int row, int column) const;
    QString text(int row, int column) const;
    void setCell(int row, int column, const QVariant& value, const QString& mask = {});
    bool isNew(int row) const;
    void cellMoved(int row, int column, int previousRow, int previousColumn);
    void cellDoubleClicked(int row, int column);

    db::Session& session_;
    MovementChoice choice_;
    HeaderKey key_;
    int bodega_ = 0;
    LineRules rules_;
    QTableWidget* grid_ = nullptr;
    QLineEdit* despachara_ = nullptr;
    QLineEdit* plazo_ = nullptr;
    QLineEdit* flete_ = nullptr;
    QLineEdit* retencion_ = nullptr;
    QLineEdit* reteica_ = nullptr;
    QLineEdit* reteiva_ = nullptr;
    QPlainTextEdit* observaciones_ = nullptr;
    QLineEdit* subtotal_ = nullptr;
    QLineEdit* descuento_ = nullptr;
    QLineEdit* iva_ = nullptr;
    QLineEdit* neto_ = nullptr;
    bool headerEdited_ = false;
    bool savingHeader_ = false;
    QLabel* thirdParty_ = nullptr;
    QLineEdit* retention_ = nullptr;
    QCheckBox* barcodes_ = nullptr;
    QLabel* balanceStatus_ = nullptr;
    QLabel* conversionStatus_ = nullptr;
    double subtotalBefore_ = 0;
    bool moving_ = false;
};

} // namespace movements
