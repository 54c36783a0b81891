#pragma once
// The delivery-address search: picks one of the further addresses (TERCEROSDIRECCIONES) of the third
// party that LookupResults::addressFilterNit names when the dialog is created, and publishes its
// DIRECCION.

#include "master/ui/lookup/LookupDialog.h"

namespace master {

class TFrmBuscarDirecciones : public LookupDialog {
    Q_OBJECT
  public:
    explicit TFrmBuscarDirecciones(db::Session& session, QWidget* parent = nullptr);

  protected:
    void publish(const db::Row* row) override;
};

} // namespace master
