#include "recording_d2xx.h"

#include <algorithm>

void RecordingD2xx::Fail(Kind kind, FT_STATUS status, std::optional<int> occurrence)
{
    failures.push_back({kind, status, occurrence});
}

int RecordingD2xx::Count(Kind kind) const
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [kind](const Call &c) { return c.kind == kind; }));
}

FT_STATUS RecordingD2xx::Record(Call call)
{
    const int occurrence = Count(call.kind);
    const Kind kind = call.kind;
    calls.push_back(std::move(call));
    for (const Failure &f : failures)
        if (f.kind == kind && (!f.occurrence || *f.occurrence == occurrence))
            return f.status;
    return FT_OK;
}

FT_STATUS RecordingD2xx::FT_Open(int deviceIndex, FT_HANDLE *handle)
{
    Call call;
    call.kind = Kind::Open;
    call.deviceIndex = deviceIndex;
    const FT_STATUS status = Record(std::move(call));
    *handle = status == FT_OK ? GivenHandle : 0;
    return status;
}

FT_STATUS RecordingD2xx::FT_OpenEx(const std::string &portPath, FT_HANDLE *handle)
{
    Call call;
    call.kind = Kind::Open;
    call.portPath = portPath;
    const FT_STATUS status = Record(std::move(call));
    *handle = status == FT_OK ? GivenHandle : 0;
    return status;
}

FT_STATUS RecordingD2xx::FT_SetBitMode(FT_HANDLE handle, std::uint8_t mask, std::uint8_t mode)
{
    Call call;
    call.kind = Kind::SetBitMode;
    call.handle = handle;
    call.mask = mask;
    call.mode = mode;
    return Record(std::move(call));
}

FT_STATUS RecordingD2xx::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate)
{
    Call call;
    call.kind = Kind::SetBaudRate;
    call.handle = handle;
    call.baudRate = baudRate;
    return Record(std::move(call));
}

FT_STATUS RecordingD2xx::FT_Write(FT_HANDLE handle, const void *buffer, std::uint32_t length, std::uint32_t *written)
{
    Call call;
    call.kind = Kind::Write;
    call.handle = handle;
    const auto *bytes = static_cast<const std::uint8_t *>(buffer);
    call.bytes.assign(bytes, bytes + length);
    const FT_STATUS status = Record(std::move(call));
    *written = status == FT_OK ? length : 0;
    return status;
}

FT_STATUS RecordingD2xx::FT_Close(FT_HANDLE handle)
{
    Call call;
    call.kind = Kind::Close;
    call.handle = handle;
    return Record(std::move(call));
}

std::vector<std::vector<std::uint8_t>> RecordingD2xx::Writes() const
{
    std::vector<std::vector<std::uint8_t>> writes;
    for (const Call &c : calls)
        if (c.kind == Kind::Write)
            writes.push_back(c.bytes);
    return writes;
}
