#pragma once

#include "memory_store.h"

#include <QString>

#include <cstdint>

// The readout's words for assistive tools: "14,200.000 kHz".
QString SpokenFrequency(std::int32_t hertz);
// Kilohertz without trailing zeros: "80000", "49.9995"; `grouped`, with the thousands set off as
// a listener reads them: "7,326.5".
QString Kilohertz(std::int64_t hertz, bool grouped = false);
// A tuning step in words: "10 MHz", "100 kHz", "1 Hz".
QString StepInWords(std::int32_t hertz);

// A memory by its tag, or "Memory 4" when it has none.
QString MemoryName(int memory, const TMemSlot &slot);
// What a memory holds, in words: "CFRX: 6,070.000 kHz", "Memory 4: no frequency".
QString MemoryInWords(int memory, const TMemSlot &slot);
