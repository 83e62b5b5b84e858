#include "window_menu.h"

#include "error_report.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

TWindowMenu::TWindowMenu(QWidget &window)
    : QObject(&window)
    , window(window)
    , menu(new QMenu(&window))
{
    for (TMenuSection section : {TMenuSection::Tuning, TMenuSection::Network, TMenuSection::Program}) {
        auto *separator = new QAction(menu);
        separator->setSeparator(true);
        Add(section, separator);
    }
    window.installEventFilter(this);
}

void TWindowMenu::Add(TMenuSection section, QAction *action)
{
    const auto index = static_cast<std::size_t>(section);
    QAction *before = nullptr;
    for (std::size_t later = index + 1; later < sections.size() && before == nullptr; ++later)
        before = sections[later].value(0);
    menu->insertAction(before, action);
    sections[index] << action;
}

void TWindowMenu::Add(TMenuSection section, QMenu *submenu)
{
    Add(section, submenu->menuAction());
}

QAction *TWindowMenu::AddChoice(TMenuSection section, const QString &text, bool on,
                                const std::function<void(bool)> &apply, const std::function<void(bool)> &keep)
{
    auto *item = new QAction(text, menu);
    item->setCheckable(true);
    item->setChecked(on);
    apply(on);
    connect(item, &QAction::toggled, item, [apply, keep](bool chosen) {
        RunGuarded([&] {
            apply(chosen);
            keep(chosen);
        });
    });
    Add(section, item);
    return item;
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
