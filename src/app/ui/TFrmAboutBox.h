#pragma once
// The about box: fixed product texts and an OK button.

#include <QDialog>

namespace app {

class TFrmAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAboutBox(QWidget* parent = nullptr);
};

} // namespace app
