#include "form_look.h"

#include "Faceplate.h"

#include <QFontDatabase>
#include <QStringList>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

// Only the families this machine has: a missing first family sends the font database through
// its whole fallback search (several million instructions at start-up) to the same face.
QFont WindowFont()
{
    static const QFont font = [] {
        const QStringList preferred{u"MS Sans Serif"_s, u"Microsoft Sans Serif"_s, u"DejaVu Sans"_s,
                                    u"Liberation Sans"_s};
        const QStringList known = QFontDatabase::families();
        QStringList installed;
        for (const QString &family : preferred)
            if (known.contains(family, Qt::CaseInsensitive))
                installed.append(family);
        QFont face;
        face.setFamilies(installed.isEmpty() ? preferred : installed);
        face.setStyleHint(QFont::SansSerif);
        face.setPixelSize(11);
        return face;
    }();
    return font;
}

void SetUpForm(QWidget &form, const QString &name, const QString &caption, QPoint position, QSize size)
{
    // Before the title: setting it makes the window's accessible interface, which Qt 6.8 then
    // keeps, so a factory installed after it would never give the window its frame role.
    InstallFaceplateAccessibility();
    form.setObjectName(name);
    form.setWindowTitle(caption);
    form.setFont(WindowFont());
    QPalette black = form.palette();
    black.setColor(QPalette::Window, Qt::black);
    form.setPalette(black);
    form.setAutoFillBackground(true);
    form.move(position);
    form.setFixedSize(size);
    new TAcceleratorFilter(&form);
}
