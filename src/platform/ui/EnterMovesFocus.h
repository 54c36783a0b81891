#pragma once
// Releasing Enter in a field moves the focus to the next control in tab order, as clerks expect
// when they type a form without the mouse. Buttons, multi-line editors and trees keep their own use
// of Enter.

#include <QObject>

class QWidget;

namespace ui {

class EnterMovesFocus : public QObject {
    Q_OBJECT
public:
    // Installs the behaviour on every child of `window`, present and future.
    static void install(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit EnterMovesFocus(QObject* parent) : QObject(parent) {}
};

} // namespace ui
