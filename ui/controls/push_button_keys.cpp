#include "ui/controls/push_button_keys.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace qzb {

void CPushButtonKeys::Install()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || app->findChild<CPushButtonKeys*>(QString(), Qt::FindDirectChildrenOnly) != nullptr) {
        return;
    }
    app->installEventFilter(new CPushButtonKeys(app));
}

bool CPushButtonKeys::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* button = qobject_cast<QPushButton*>(watched);
    if (button == nullptr) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    const Qt::KeyboardModifiers modifiers = key.modifiers() & ~Qt::KeypadModifier;
    if ((key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) || modifiers != Qt::NoModifier) {
        return false;
    }
    // A key reaches a button only while it has the focus: it is the button the user means.
    if (button->isEnabled() && button->isVisible()) {
        button->click();
    }
    return true;
}

} // namespace qzb
