#include "window_font.h"

#include <QStringList>

using namespace Qt::Literals::StringLiterals;

QFont WindowFont()
{
    QFont font;
    font.setFamilies({u"MS Sans Serif"_s, u"Microsoft Sans Serif"_s, u"DejaVu Sans"_s, u"Liberation Sans"_s});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}
