#include "announcer.h"

#include <QAccessible>

TAnnouncer::TAnnouncer(QWidget *parent)
    : QWidget(parent)
{
    hide();
}

// The text is its name; a notification that shows is what screen readers speak unasked.
void TAnnouncer::Announce(const QString &text)
{
    setAccessibleName(text);
    QAccessibleEvent shown(this, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}
