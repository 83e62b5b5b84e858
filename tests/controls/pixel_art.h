#pragma once

#include "qt_printers.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>
#include <map>

// Renders a drawing into a small image and spells it out row by row, one character a pixel,
// so that pixel tests read like pictures. Colours not in the legend show as '?'.
inline QImage Render(int width, int height, QRgb background, const std::function<void(QPainter &)> &draw)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(background);
    QPainter painter(&image);
    draw(painter);
    painter.end();
    return image;
}

inline QString Picture(const QImage &image, const std::map<QRgb, char> &legend)
{
    QString rows;
    for (int y = 0; y < image.height(); ++y) {
        rows += u'\n';
        for (int x = 0; x < image.width(); ++x) {
            const auto found = legend.find(image.pixel(x, y) | 0xFF000000u);
            rows += QChar::fromLatin1(found == legend.end() ? '?' : found->second);
        }
    }
    return rows;
}

// Joins picture rows given one per argument, the way Picture spells them.
template <typename... Row>
QString Rows(Row... rows)
{
    QString joined;
    ((joined += u'\n' + QString::fromLatin1(rows)), ...);
    return joined;
}
