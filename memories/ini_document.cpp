#include "ini_document.h"

#include <QStringDecoder>

#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

// Windows-1252 where it differs from Latin-1; its five unassigned bytes keep their Latin-1 value.
constexpr std::array<char16_t, 32> Windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeWindows1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = QChar(byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char16_t(byte));
    }
    return text;
}

} // namespace

QString DecodeFileText(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError())
        return text;
    return DecodeWindows1252(view);
}

// Names compared without regard to case; ASCII names, the usual ones, without the cost of full
// Unicode case folding.
QString TIniDocument::Fold(const QString &name)
{
    QString folded = name;
    for (QChar &c : folded) {
        if (c.unicode() >= 0x80)
            return name.toCaseFolded();
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() - u'A' + u'a');
    }
    return folded;
}

TIniDocument TIniDocument::FromBytes(const QByteArray &bytes)
{
    TIniDocument document;
    const QString text = DecodeFileText(bytes);
    if (text.contains(u"\r\n"_s))
        document.lineEnding = u"\r\n"_s;
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the ending of the last line, not a line of its own
    for (QString &line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        document.AddLine(line);
    }
    return document;
}

void TIniDocument::AddLine(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.startsWith(u'[')) {
        const qsizetype close = trimmed.indexOf(u']');
        if (close > 0) {
            AppendSection(trimmed.mid(1, close - 1).trimmed()).lines.front().text = text;
            return;
        }
    }
    Section &section = sections.back();
    const qsizetype equals = text.indexOf(u'=');
    const bool comment = trimmed.startsWith(u';') || trimmed.startsWith(u'#');
    const QString key = equals >= 0 ? text.left(equals).trimmed() : QString();
    if (comment || key.isEmpty() || &section == &sections.front()) {
        section.lines.push_back({text});
        return;
    }
    const int line = static_cast<int>(section.lines.size());
    section.lines.push_back({text, static_cast<int>(equals)});
    if (const QString folded = Fold(key); !section.entries.contains(folded))
        section.entries.insert(folded, line);
    section.lastEntry = line;
}

TIniDocument::Section &TIniDocument::AppendSection(const QString &name)
{
    if (const QString folded = Fold(name); !sectionIndex.contains(folded))
        sectionIndex.insert(folded, static_cast<int>(sections.size()));
    Section &section = sections.emplace_back();
    section.lines.push_back({u"["_s + name + u"]"_s});
    return section;
}

QString TIniDocument::Value(const QString &section, const QString &key) const
{
    return Entry(section, key).value_or(QString());
}

std::optional<QString> TIniDocument::Entry(const QString &section, const QString &key) const
{
    const auto s = sectionIndex.constFind(Fold(section));
    if (s == sectionIndex.cend())
        return std::nullopt;
    const Section &found = sections[static_cast<std::size_t>(*s)];
    const auto e = found.entries.constFind(Fold(key));
    if (e == found.entries.cend())
        return std::nullopt;
    const Line &line = found.lines[static_cast<std::size_t>(*e)];
    return line.text.mid(line.keyLength + 1).trimmed();
}

void TIniDocument::SetValue(const QString &section, const QString &key, const QString &value)
{
    QString flat = value;
    flat.replace(u'\n', u' ').replace(QChar(0), u' ');
    const auto s = sectionIndex.constFind(Fold(section));
    Section *target = nullptr;
    if (s != sectionIndex.cend()) {
        target = &sections[static_cast<std::size_t>(*s)];
    } else {
        std::vector<Line> &last = sections.back().lines;
        if (!last.empty() && !last.back().text.trimmed().isEmpty())
            last.push_back({}); // a blank line between sections, for the reader
        target = &AppendSection(section);
    }
    if (const auto e = target->entries.constFind(Fold(key)); e != target->entries.cend()) {
        Line &line = target->lines[static_cast<std::size_t>(*e)];
        line.text = line.text.left(line.keyLength) + u'=' + flat;
        return;
    }
    // After the section's last entry come only lines that are no entries, so inserting here
    // moves no entry's line.
    const int at = target->lastEntry + 1;
    target->lines.insert(target->lines.begin() + at, Line{key + u'=' + flat, static_cast<int>(key.size())});
    target->entries.insert(Fold(key), at);
    target->lastEntry = at;
}

QByteArray TIniDocument::ToBytes() const
{
    QString text;
    for (const Section &section : sections)
        for (const Line &line : section.lines)
            text += line.text + lineEnding;
    return text.toUtf8();
}
