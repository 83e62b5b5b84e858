#include "form_look.h"

#include "Faceplate.h"

#include <QStringList>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

QFont WindowFont()
{
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"Microsoft Sans Serif"_s, u"DejaVu Sans"_s, u"Liberation Sans"_s});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

void SetUpForm(QWidget &form, const QString &name, const QString &caption, QPoint position, QSize size)
{
    form.setObjectName(name);
    form.setWindowTitle(caption);
    form.setFont(WindowFont());
    QPalette black = form.palette();
    black.setColor(QPalette::Window, Qt::black);
    form.setPalette(black);
    form.setAutoFillBackground(true);
    form.move(position);
    form.setFixedSize(size);
    InstallFaceplateAccessibility();
    new TAcceleratorFilter(&form);
}
