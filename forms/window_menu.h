#pragma once

#include <QObject>

class QMenu;
class QPoint;
class QWidget;

// A window's context menu, opened by a right click on the window itself or on a control that
// leaves the click to it (the readout, the status line), by the Menu key and by Shift+F10 (which
// open a focused control's own menu where it has one). What it holds is added by whoever offers
// an action.
class TWindowMenu : public QObject
{
public:
    explicit TWindowMenu(QWidget &window);

    QMenu &Menu() { return *menu; }
    // Opens the menu at a point of the screen without waiting for a choice.
    void Open(const QPoint &globalPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window;
    QMenu *menu;
};
