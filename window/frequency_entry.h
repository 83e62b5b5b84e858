#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// A frequency typed on the keyboard or pasted: a number of at most 8 digits with at most one
// decimal separator ("." or ","), then an optional unit: k or kHz, m or MHz, h or Hz, in either
// case, blanks allowed around it. Without a unit the number is kilohertz, like the readout; a
// pasted whole number of at least 50,000 without a unit is hertz (the form the panel copies).
enum class TEntrySource { Typed, Pasted };

// The frequency in hertz, or why the text is refused, in one line for the status line.
struct TFrequencyReading
{
    std::optional<std::int32_t> hertz;
    QString refusal;
};

// Accepted: 50,000 to 70,000,000 Hz, to the hertz.
TFrequencyReading ReadFrequency(const QString &text, TEntrySource source);

// What the readout shows of a typed text: its number in kilohertz as typed ("7074.5"), or, once a
// unit of hertz or megahertz is typed, the same number turned into kilohertz ("14.2m" shows
// "14200"); empty when there is nothing to show.
QString TypedReadout(const QString &typed);

// The words for a typed text: "Typing 14.2 MHz".
QString SpokenTyping(const QString &typed);
