#pragma once
// The sub-item search: picks one of the sub-items (PRODUCTOSSUB) of the item that
// LookupResults::subItemFilterItem names when the dialog is created, and publishes its SUBPRODUCTO.

#include "master/ui/lookup/LookupDialog.h"

namespace master {

class TFrmBuscarSubProducto : public LookupDialog {
    Q_OBJECT
  public:
    explicit TFrmBuscarSubProducto(db::Session& session, QWidget* parent = nullptr);

  protected:
    void publish(const db::Row* row) override;
    QVariantList searchPrefix(const QStringList& order) const override;

  private:
    int item_;
};

} // namespace master
