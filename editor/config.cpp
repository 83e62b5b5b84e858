#include "config.h"

#include "window_font.h"

#include <QCloseEvent>

using namespace Qt::Literals::StringLiterals;

TForm2::TForm2(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(u"Form2"_s);
    setWindowTitle(u"Memories"_s);
    setFont(WindowFont());
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    move(DesignedPosition);
    setFixedSize(ClientSize);
}

void TForm2::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}
