#pragma once

#include <QFont>
#include <QPoint>
#include <QSize>

class QWidget;

// The windows' default font: "MS Sans Serif" at 8 points (11 pixels), or the nearest sans-serif
// face the system has.
QFont WindowFont();

// What both forms share: name, caption, the default font on black, the designed place and size;
// mnemonics offered to their LED buttons, and the controls known to assistive tools.
void SetUpForm(QWidget &form, const QString &name, const QString &caption, QPoint position, QSize size);
