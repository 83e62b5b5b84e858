#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

// Offers the characters typed in a window to its LED buttons as mnemonics, the first button to
// take one eats the key: Alt+character always, a plain character only when the focused control
// does not take text itself.
class TAcceleratorFilter : public QObject
{
public:
    // Watches the key presses of `window` for as long as both live.
    explicit TAcceleratorFilter(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> window;
};
