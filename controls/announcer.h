#pragma once

#include <QWidget>

// Speaks through assistive tools without showing anything: each text announced appears to them as
// a notification, which a screen reader speaks whatever control has the focus. It is for what a
// listener must hear but no focused control can say: status texts, and changes made while the
// focus is elsewhere.
class TAnnouncer : public QWidget
{
    Q_OBJECT

public:
    explicit TAnnouncer(QWidget *parent);

    void Announce(const QString &text);
};
