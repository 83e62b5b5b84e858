#pragma once

#include "memory_store.h"

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

// The readout's words for assistive tools: "14,200.000 kHz".
QString SpokenFrequency(std::int32_t hertz);
// The words for a typed text: "Typing 14.2 MHz".
QString SpokenTyping(const QString &typed);
// A tuning step in words: "10 MHz", "100 kHz", "1 Hz".
QString StepInWords(std::int32_t hertz);

// A memory by its tag, or "Memory 4" when it has none.
QString MemoryName(int memory, const TMemSlot &slot);
// What a memory holds, in words: "CFRX: 6,070.000 kHz", "Memory 4: no frequency".
QString MemoryInWords(int memory, const TMemSlot &slot);
