#pragma once
// The windows of other parts of the program that the movement windows open: the posting to
// accounting, the printed layouts, the remission and production-order utilities, re-posting,
// inflation adjustments and the point-of-sale load. Each is one call point, set by its own window
// when that window is built; a button whose window is not there yet tells the user so.

#include "movements/DocumentCompletion.h"
#include "movements/DocumentTypes.h"
#include "movements/HeaderRules.h"

#include <QString>
#include <functional>

class QWidget;

namespace movements {

// What printing a document asks of the printed layouts: the layout the document type's INFORME
// names, unless `layout` names another ("KV" for the copies, "8" for the point-of-sale ticket).
struct DocumentPrint {
    HeaderKey document{};
    DocumentType type{};
    QString layout{};
    QString title{};
    int copies = 1;
};

struct OtherWindows {
    // Closing the line window after the two confirmations.
    std::function<void(const PostingRequest&, QWidget*)> posting;
    // "&Imprimir" and "Copias" of the line window, "&Reimprimir" of the header window.
    std::function<void(const DocumentPrint&, QWidget*)> printing;
    // "Cargar": "Translado de Remisiones a Facturas", with the number typed beside the button.
    std::function<void(const HeaderKey&, int number, QWidget*)> remissionTransfer;
    // "Recontabiliza": the re-posting of documents of the header's type.
    std::function<void(const HeaderKey&, QWidget*)> reposting;
    // "Orden De Produccion" of a production issue; the lines may change.
    std::function<void(const HeaderKey&, QWidget*)> productionOrder;
    // Double-click on the invoice or its date: the third party's invoices.
    std::function<void(const HeaderKey&, double nit, QWidget*)> customerInvoices;
    // The chooser's "Ajustes Por Inflacion" and "&Carga Ventas".
    std::function<void(const QString& empresa, QWidget*)> inflationAdjustments;
    std::function<void(const QString& empresa, QWidget*)> salesLoad;
    // The line window's double-clicks on the price and on the item name; the line is shown again
    // afterwards.
    std::function<void(const HeaderKey&, int linea, QWidget*)> priceCalculator;
    std::function<void(int producto, QWidget*)> nameChange;
};

// The one set of call points of the program.
OtherWindows& otherWindows();

inline const QString kNotInstalled = QStringLiteral("Esta opción todavía no está instalada");

// Calls a window's call point, or tells the user it is not there yet. False when it was not there.
template <class Hook, class... Args>
bool openOther(const Hook& hook, QWidget* parent, Args&&... args);

} // namespace movements

#include "platform/ui/Messages.h"

namespace movements {

template <class Hook, class... Args>
bool openOther(const Hook& hook, QWidget* parent, Args&&... args) {
    if (!hook) {
        ui::Messages::current().information(parent, kNotInstalled);
        return false;
    }
    hook(std::forward<Args>(args)..., parent);
    return true;
}

} // namespace movements
