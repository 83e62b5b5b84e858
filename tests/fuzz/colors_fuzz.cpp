#include "colorconv.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void CheckResult(const TColorTriple &result)
{
    for (const double component : result)
        if (!(component >= 0.0 && component <= 1.0))
            std::abort();
}

} // namespace

// Any triple of doubles: either EColorConv, or every component of the result in 0..1.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 3 * sizeof(double))
        return 0;
    TColorTriple source;
    std::memcpy(source.data(), data, 3 * sizeof(double));
    for (auto convert : {&HLS2RGB, &RGB2HLS}) {
        TColorTriple result{-1, -1, -1};
        try {
            convert(source, result);
        } catch (const EColorConv &) {
            if (result != TColorTriple{-1, -1, -1}) // a failure leaves the destination alone
                std::abort();
            continue;
        }
        CheckResult(result);
    }
    return 0;
}
