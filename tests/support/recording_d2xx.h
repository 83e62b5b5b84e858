#pragma once

#include "d2xx.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A D2XX stand-in that records every call with its arguments and the bytes written, and fails
// any chosen call with any status.
class RecordingD2xx final : public D2xx
{
public:
    enum class Kind { Open, SetBitMode, SetBaudRate, Write, Close };

    struct Call
    {
        Kind kind = Kind::Open;
        int deviceIndex = -1;
        std::string portPath; // FT_OpenEx's location
        FT_HANDLE handle = 0;
        std::uint8_t mask = 0;
        std::uint8_t mode = 0;
        std::uint32_t baudRate = 0;
        std::vector<std::uint8_t> bytes;
    };

    static constexpr FT_HANDLE GivenHandle = 0x5A17;

    // Makes the occurrence-th call of `kind` (0-based; every one when omitted) return `status`.
    void Fail(Kind kind, FT_STATUS status, std::optional<int> occurrence = std::nullopt);

    FT_STATUS FT_Open(int deviceIndex, FT_HANDLE *handle) override;
    FT_STATUS FT_OpenEx(const std::string &portPath, FT_HANDLE *handle) override;
    FT_STATUS FT_SetBitMode(FT_HANDLE handle, std::uint8_t mask, std::uint8_t mode) override;
    FT_STATUS FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) override;
    FT_STATUS FT_Write(FT_HANDLE handle, const void *buffer, std::uint32_t length,
                       std::uint32_t *written) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;

    const std::vector<Call> &Calls() const { return calls; }
    int Count(Kind kind) const;
    // The bytes of each FT_Write, in order.
    std::vector<std::vector<std::uint8_t>> Writes() const;
    void ClearCalls() { calls.clear(); }

private:
    struct Failure
    {
        Kind kind;
        FT_STATUS status;
        std::optional<int> occurrence;
    };
    FT_STATUS Record(Call call);

    std::vector<Call> calls;
    std::vector<Failure> failures;
};
