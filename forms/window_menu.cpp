#include "window_menu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

TWindowMenu::TWindowMenu(QWidget &window)
    : QObject(&window)
    , window(window)
    , menu(new QMenu(&window))
{
    window.installEventFilter(this);
}

void TWindowMenu::Open(const QPoint &globalPosition)
{
    menu->popup(globalPosition);
}

bool TWindowMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &window)
        return false;
    if (event->type() == QEvent::ContextMenu) {
        Open(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    // Keys reach the window when the control with the focus leaves them.
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool menuKey = key->key() == Qt::Key_Menu && key->modifiers() == Qt::NoModifier;
        const bool shiftF10 = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
        if (menuKey || shiftF10) {
            QWidget *focus = window.focusWidget();
            QWidget *anchor = focus != nullptr ? focus : &window;
            const QPoint center = anchor->rect().center();
            // A control with a menu of its own opens that one, as a right click on it does.
            if (anchor->contextMenuPolicy() == Qt::CustomContextMenu)
                Q_EMIT anchor->customContextMenuRequested(center);
            else
                Open(anchor->mapToGlobal(center));
            return true;
        }
    }
    return false;
}
