#pragma once
// The supplier and customer search: picks a row of PROVEEDORES and publishes its NIT and its
// referrer (PADRE), which the third-party window writes into its parent and grandparent fields.

#include "master/ui/lookup/LookupDialog.h"

namespace master {

class TFrmBuscarProveedor : public LookupDialog {
    Q_OBJECT
  public:
    explicit TFrmBuscarProveedor(db::Session& session, QWidget* parent = nullptr);

  protected:
    void publish(const db::Row* row) override;
};

} // namespace master
