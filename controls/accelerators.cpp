#include "accelerators.h"

#include "led_button.h"

#include <QCoreApplication>
#include <QKeyEvent>

TAcceleratorFilter::TAcceleratorFilter(QWidget *window)
    : QObject(window)
    , window(window)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool TAcceleratorFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || window == nullptr)
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (target == nullptr || target->window() != window)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    QChar character = key->text().isEmpty() ? QChar() : key->text().front();
    if (character.isNull() && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z)
        character = QChar(u'a' + (key->key() - Qt::Key_A));
    if (character.isNull() || !character.isPrint())
        return false;
    if (!(key->modifiers() & Qt::AltModifier)) {
        // The window's own focus widget: the application's is none while the window is inactive.
        const QWidget *focus = window->focusWidget();
        if (focus != nullptr && focus->testAttribute(Qt::WA_InputMethodEnabled))
            return false;
    }
    for (TLEDButton *button : window->findChildren<TLEDButton *>())
        if (button->DialogChar(character))
            return true;
    return false;
}
