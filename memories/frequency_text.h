#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <stdexcept>

// A memory's frequency text as a signed 32-bit number of hertz: leading blanks, then either an
// optional sign and decimal digits within the 32-bit range, or hexadecimal digits after "$", "x",
// "X", "0x" or "0X" that fit in 32 bits (read as a signed pattern). Anything else has no value.
std::optional<std::int32_t> FrequencyFromText(const QString &text);

// The sum and difference of the tuning steps; both throw "Integer overflow" outside 32 bits.
std::int32_t CheckedAdd(std::int32_t a, std::int32_t b);
std::int32_t CheckedSubtract(std::int32_t a, std::int32_t b);

class EIntOverflow : public std::overflow_error
{
public:
    EIntOverflow()
        : std::overflow_error("Integer overflow")
    {
    }
};
