#include "windows_1252.h"

#include <QStringDecoder>

QString FromWindows1252(QByteArrayView bytes)
{
    QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        return FromWindows1252ByTable(bytes);
    return decoder.decode(bytes);
}

QString FromWindows1252ByTable(QByteArrayView bytes)
{
    // 0x81, 0x8D, 0x8F, 0x90 and 0x9D are unassigned; they keep their Latin-1 control codes, as ICU does.
    static constexpr char16_t Windows80To9F[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = code >= 0x80 && code <= 0x9F ? QChar(Windows80To9F[code - 0x80]) : QChar(char16_t(code));
    }
    return text;
}
