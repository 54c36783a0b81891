#pragma once
// The item search: picks a row of PRODUCTOS, opening in name order, and publishes the item number
// and its unit for the line grids and the report selections.

#include "master/ui/lookup/LookupDialog.h"

namespace master {

class TFrmBuscarProducto : public LookupDialog {
    Q_OBJECT
  public:
    explicit TFrmBuscarProducto(db::Session& session, QWidget* parent = nullptr);

  protected:
    void publish(const db::Row* row) override;
};

} // namespace master
