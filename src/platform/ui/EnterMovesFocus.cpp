#include "platform/ui/EnterMovesFocus.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

namespace ui {

void EnterMovesFocus::install(QWidget* window) {
    // An application-wide filter that only acts inside `window`, so children created later are
    // covered too.
    qApp->installEventFilter(new EnterMovesFocus(window));
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    auto* window = qobject_cast<QWidget*>(parent());
    if (!widget || !window || widget->window() != window || !widget->hasFocus()) return false;
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QTextEdit*>(widget) ||
        qobject_cast<QPlainTextEdit*>(widget) || qobject_cast<QAbstractItemView*>(widget))
        return false;
    for (QWidget* next = widget->nextInFocusChain(); next && next != widget; next = next->nextInFocusChain()) {
        if (next->window() == window && next->isVisible() && next->isEnabled() && (next->focusPolicy() & Qt::TabFocus)) {
            next->setFocus(Qt::TabFocusReason);
            break;
        }
    }
    return true;
}

} // namespace ui
