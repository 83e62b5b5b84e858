#include "tuning_word.h"

#include <bit>

namespace {

// An unsigned 128-bit integer, hi * 2^64 + lo, with just the operations the rounding steps need.
struct Wide
{
    std::uint64_t hi = 0;
    std::uint64_t lo = 0;
};

int bitLength(Wide x)
{
    return x.hi != 0 ? 128 - std::countl_zero(x.hi) : 64 - std::countl_zero(x.lo);
}

Wide shiftLeft(Wide x, int n)
{
    if (n == 0)
        return x;
    if (n >= 128)
        return {};
    if (n >= 64)
        return {x.lo << (n - 64), 0};
    return {(x.hi << n) | (x.lo >> (64 - n)), x.lo << n};
}

Wide shiftRight(Wide x, int n)
{
    if (n == 0)
        return x;
    if (n >= 128)
        return {};
    if (n >= 64)
        return {0, x.hi >> (n - 64)};
    return {x.hi >> n, (x.lo >> n) | (x.hi << (64 - n))};
}

Wide add(Wide a, Wide b)
{
    const std::uint64_t lo = a.lo + b.lo;
    return {a.hi + b.hi + (lo < a.lo ? 1 : 0), lo};
}

bool bitAt(Wide x, int n)
{
    return (shiftRight(x, n).lo & 1) != 0;
}

bool anyBitBelow(Wide x, int n)
{
    if (n <= 0)
        return false;
    if (n >= 128)
        return x.hi != 0 || x.lo != 0;
    return bitLength(shiftLeft(x, 128 - n)) != 0;
}

// x / 2^n rounded to nearest, ties to even; `sticky` tells that the true value lies above x.
Wide roundShift(Wide x, int n, bool sticky = false)
{
    if (n <= 0)
        return shiftLeft(x, -n);
    Wide q = shiftRight(x, n);
    const bool half = bitAt(x, n - 1);
    const bool beyondHalf = sticky || anyBitBelow(x, n - 1);
    if (half && (beyondHalf || (q.lo & 1) != 0))
        q = add(q, {0, 1});
    return q;
}

// a * b for a < 2^63 and b < 2^32.
Wide multiply(std::uint64_t a, std::uint64_t b)
{
    const Wide low{0, (a & 0xFFFFFFFFu) * b};
    const Wide high = shiftLeft(Wide{0, (a >> 32) * b}, 32);
    return add(low, high);
}

} // namespace

std::uint32_t TuningWord(std::int32_t frequency, std::int64_t referenceClock)
{
    const auto clock = static_cast<std::uint64_t>(referenceClock);
    constexpr std::uint64_t multiplier = 268'435'455; // 2^28 - 1
    constexpr int extendedBits = 64;
    constexpr int doubleBits = 53;

    // frequency / clock to 108 fraction bits by long division, 36 bits a step so nothing overflows.
    Wide quotient;
    std::uint64_t remainder = static_cast<std::uint64_t>(frequency);
    for (int step = 0; step < 3; ++step) {
        remainder <<= 36;
        quotient = shiftLeft(quotient, 36);
        quotient.lo |= remainder / clock;
        remainder %= clock;
    }
    int exponent = -108; // the value is quotient * 2^exponent

    // The x87 division: rounded to a 64-bit mantissa.
    int drop = bitLength(quotient) - extendedBits;
    Wide mantissa = roundShift(quotient, drop, remainder != 0);
    exponent += drop;

    // Stored as a double: rounded again, to 53 bits.
    drop = bitLength(mantissa) - doubleBits;
    mantissa = roundShift(mantissa, drop);
    exponent += drop;

    // The x87 multiplication: the exact product rounded to a 64-bit mantissa.
    Wide product = multiply(mantissa.lo, multiplier);
    drop = bitLength(product) - extendedBits;
    if (drop > 0) {
        product = roundShift(product, drop);
        exponent += drop;
    }

    // Rounded to an integer.
    return static_cast<std::uint32_t>(roundShift(product, -exponent).lo);
}
