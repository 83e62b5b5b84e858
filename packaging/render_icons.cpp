#include "app_icon.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

// Writes the application icon into a hicolor theme folder: <folder>/<N>x<N>/apps/<id>.png for
// each size, and <folder>/scalable/apps/<id>.svg.
int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fputs("usage: render_icons FOLDER APP-ID\n", stderr);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QDir theme(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    bool ok = true;
    for (const int size : IconSizes) {
        const QString folder = u"%1x%1/apps"_s.arg(size);
        ok = theme.mkpath(folder) && RenderIcon(size).save(theme.filePath(folder + u'/' + name + u".png"_s)) && ok;
    }
    QFile svg(theme.filePath(u"scalable/apps/"_s + name + u".svg"_s));
    ok = theme.mkpath(u"scalable/apps"_s) && svg.open(QIODevice::WriteOnly) && svg.write(IconSvg()) > 0 && ok;
    if (!ok)
        std::fprintf(stderr, "render_icons: could not write the icons into %s\n", argv[1]);
    return ok ? 0 : 1;
}
