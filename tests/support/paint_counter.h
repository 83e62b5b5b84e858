#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTest>
#include <QWidget>

#include <map>

// Counts the paint events of the widgets it watches. A repaint comes when the event loop gets to
// it, later still for a control that paints at a frame rate: tests wait for the paints they
// expect, never on one pass of the loop.
class TPaintCounter : public QObject
{
public:
    std::map<QObject *, int> paints;

    void Watch(QWidget *widget) { widget->installEventFilter(this); }
    void Clear() { paints.clear(); }
    int Of(QObject *widget) { return paints[widget]; }
    // The paints of `widget` once it has been painted `expected` times (or five seconds went by)
    // and the events then pending were handled, so that one paint too many shows.
    int AfterWaitingFor(QObject *widget, int expected)
    {
        // The count itself tells a paint that never came.
        static_cast<void>(QTest::qWaitFor([&] { return paints[widget] >= expected; }));
        QCoreApplication::processEvents();
        return paints[widget];
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched];
        return false;
    }
};
