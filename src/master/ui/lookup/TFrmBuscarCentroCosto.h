#pragma once
// The cost-centre search: picks a row of CENTROCOSTOS and publishes its code for the movement lines.

#include "master/ui/lookup/LookupDialog.h"

namespace master {

class TFrmBuscarCentroCosto : public LookupDialog {
    Q_OBJECT
  public:
    explicit TFrmBuscarCentroCosto(db::Session& session, QWidget* parent = nullptr);

  protected:
    void publish(const db::Row* row) override;
};

} // namespace master
