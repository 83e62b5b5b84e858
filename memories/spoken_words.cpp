#include "spoken_words.h"

#include "frequency_text.h"

#include <QLocale>

using namespace Qt::Literals::StringLiterals;

QString SpokenFrequency(std::int32_t hertz)
{
    return QLocale(QLocale::English).toString(hertz / 1000.0, 'f', 3) + u" kHz"_s;
}

QString Kilohertz(std::int64_t hertz, bool grouped)
{
    QString text = grouped ? QLocale(QLocale::English).toString(hertz / 1000) : QString::number(hertz / 1000);
    if (const std::int64_t rest = hertz % 1000; rest != 0) {
        QString decimals = QString::number(rest).rightJustified(3, u'0');
        while (decimals.endsWith(u'0'))
            decimals.chop(1);
        text += u'.' + decimals;
    }
    return text;
}

QString StepInWords(std::int32_t hertz)
{
    if (hertz >= 1'000'000 && hertz % 1'000'000 == 0)
        return QString::number(hertz / 1'000'000) + u" MHz"_s;
    if (hertz >= 1'000 && hertz % 1'000 == 0)
        return QString::number(hertz / 1'000) + u" kHz"_s;
    return QString::number(hertz) + u" Hz"_s;
}

QString MemoryName(int memory, const TMemSlot &slot)
{
    return slot.tag.str().isEmpty() ? u"Memory "_s + QString::number(memory) : slot.tag.str();
}

QString MemoryInWords(int memory, const TMemSlot &slot)
{
    if (slot.freq.str().isEmpty())
        return MemoryName(memory, slot) + u": no frequency"_s;
    const std::optional<std::int32_t> hertz = FrequencyFromText(slot.freq);
    return MemoryName(memory, slot) + u": "_s +
           (hertz ? SpokenFrequency(*hertz) : u"\""_s + slot.freq.str() + u"\", no frequency in Hz"_s);
}
