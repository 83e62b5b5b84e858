#include "Faceplate.h"

#include <QApplication>
#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <cstring>

// Any double (NaN, infinities and huge values included), 1 to 20 digits, 0 to 19 decimals:
// the text is well formed and painting stays inside the control.
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < sizeof(double) + 2)
        return 0;
    double value = 0;
    std::memcpy(&value, data, sizeof value);
    const int numDigits = 1 + data[sizeof value] % 20;
    const int fractionDigits = data[sizeof value + 1] % 20;

    const TDisplayText shown = MakeDisplayText(value, fractionDigits, numDigits);
    if (static_cast<int>(shown.Characters.size()) < numDigits || shown.SeparatorPosition < 0 ||
        shown.SeparatorPosition > static_cast<int>(shown.Characters.size()) + 1)
        std::abort();

    static TLEDDisplay display;
    display.SetNumDigits(numDigits);
    display.SetFractionDigits(fractionDigits);
    display.SetDecSeparator(static_cast<TDecSeparator>(data[sizeof value + 1] % 7));
    display.SetLeadingZeros((data[sizeof value] & 0x80) != 0);
    display.SetValue(value);
    constexpr int margin = 8;
    constexpr QRgb sentinel = 0xFF123456;
    QImage image(display.width() + 2 * margin, display.height() + 2 * margin, QImage::Format_RGB32);
    image.fill(sentinel);
    display.render(&image, QPoint(margin, margin));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = x >= margin && x < margin + display.width() && y >= margin && y < margin + display.height();
            if (!inside && image.pixel(x, y) != sentinel)
                std::abort();
        }
    return 0;
}
