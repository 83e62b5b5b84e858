#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <optional>
#include <vector>

// An INI text kept line for line, so that writing a value changes nothing else: comments, blank
// lines, lines it cannot parse and entries it does not know stay where they are. Section and key
// names match without regard to case; the first of duplicate sections or keys is the one used.
class TIniDocument
{
public:
    // Bytes of a file: UTF-8, or Windows-1252 when they are not valid UTF-8 (files written by
    // older programs in a Windows code page).
    static TIniDocument FromBytes(const QByteArray &bytes);
    // The text as UTF-8, with the line ending the file had ("\n" for a new one).
    QByteArray ToBytes() const;

    // The value, blanks around it removed; empty when the section or key is missing.
    QString Value(const QString &section, const QString &key) const;
    // The same, or nothing when the section or key is missing.
    std::optional<QString> Entry(const QString &section, const QString &key) const;
    // Replaces the value in place; a new key goes after the last entry of its section, a new
    // section at the end of the text. A line break or NUL in the value becomes a blank.
    void SetValue(const QString &section, const QString &key, const QString &value);

private:
    struct Line
    {
        QString text;
        int keyLength = -1; // length of the text before "=" for an entry line, -1 otherwise
    };
    struct Section
    {
        std::vector<Line> lines; // the header line first, except for the text before any section
        QHash<QString, int> entries; // folded key -> line
        int lastEntry = 0;
    };

    void AddLine(const QString &text);
    Section &AppendSection(const QString &name);
    static QString Fold(const QString &name);

    std::vector<Section> sections{Section{}}; // sections[0]: the lines before the first header
    QHash<QString, int> sectionIndex;
    QString lineEnding = QStringLiteral("\n");
};

// Text decoding of a file's bytes, as the INI document does it.
QString DecodeFileText(const QByteArray &bytes);
