#pragma once

#include <QObject>

#include <array>
#include <functional>

class QAction;
class QMenu;
class QPoint;
class QString;
class QWidget;

// The window menu's sections, in the order they are shown; a separator sets off the tuning's, the
// network's and the program's.
enum class TMenuSection { Memories, Stations, Tuning, Network, Window, Receiver, Program };

// A window's context menu, opened by a right click on the window itself or on a control that
// leaves the click to it (the readout, the status line), by the Menu key and by Shift+F10 (which
// open a focused control's own menu where it has one). Whoever offers an action adds it to its
// section, after what that section already holds.
class TWindowMenu : public QObject
{
public:
    explicit TWindowMenu(QWidget &window);

    QMenu &Menu() { return *menu; }
    void Add(TMenuSection section, QAction *action);
    // A submenu, shown as its title.
    void Add(TMenuSection section, QMenu *submenu);
    // A checkable item for a choice kept between runs: `apply` takes the choice now and at each
    // toggle, `keep` stores it then.
    QAction *AddChoice(TMenuSection section, const QString &text, bool on, const std::function<void(bool)> &apply,
                       const std::function<void(bool)> &keep);
    // Opens the menu at a point of the screen without waiting for a choice.
    void Open(const QPoint &globalPosition);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window;
    QMenu *menu;
    std::array<QList<QAction *>, 7> sections;
};
