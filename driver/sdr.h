#pragma once

#include "d2xx.h"
#include "receiver_range.h"
#include "reference_clock.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class Tsdr;

// The driver's message event: a bound callable taking the sending driver and a text.
using TSdrMessageEvent = std::function<void(Tsdr *Sender, const QString &Text)>;

// The port bytes of one word being framed; a word takes 52 of its 255 places.
struct TTxBuffer
{
    std::array<std::uint8_t, 255> Bytes{};
    std::uint32_t Length = 0;

    void Clear() { Length = 0; }
    void Append(std::uint8_t byte)
    {
        if (Length < Bytes.size())
            Bytes[Length++] = byte;
    }
};

// Where the driver opens the receiver: asked before each opening, told when the chip opened.
class TDeviceChooser
{
public:
    struct TChoice
    {
        std::string portPath; // empty: the first FTDI chip
        QString refusal;      // set: nothing is opened, and this is the status text
        std::int64_t referenceClock = ReferenceClock::Nominal; // the chip's synthesizer clock, in hertz
    };
    virtual ~TDeviceChooser() = default;
    virtual TChoice Choose() = 0;
    virtual void Opened() = 0;
    // The whole of a refusal it gave, where the refusal says it in short; empty for other texts.
    virtual QString Detail(const QString &) const { return {}; }
};

// The receiver's synthesizer driver: opens the first FTDI chip (or the one its chooser names) in synchronous bit-bang mode and
// programs the direct digital synthesizer and the band filters through it. It never throws;
// every failing library status becomes one text handed to OnMessage.
class Tsdr : public QObject
{
public:
    // The driver uses `port` for every library call; the owner destroys the driver with itself.
    Tsdr(QObject *Owner, D2xx &port);
    ~Tsdr() override;

    TSdrMessageEvent OnMessage;
    TDeviceChooser *Chooser = nullptr;
    // The synthesizer's clock the tuning word is worked out from, in hertz.
    std::int64_t ReferenceClock = TDeviceChooser::TChoice{}.referenceClock;
    FT_HANDLE DeviceHandle = 0;
    std::int32_t BandBits = 0;

    // Driver-wide state, one set for the program.
    static inline FT_STATUS LastStatus = FT_OK;
    static inline std::array<std::uint8_t, 16> ControlBits{}; // entry n: bit n of the control word
    static inline std::array<std::uint8_t, 28> FrequencyBits{}; // entry 0: bit 27 of the tuning word
    static inline TTxBuffer TxBuffer;

    static constexpr std::int32_t LowestFrequency = ReceiverRange::Lowest;
    static constexpr std::int32_t HighestFrequency = ReceiverRange::Highest;

    void Initialize();
    void SetFrequency(std::int32_t Frequency);
    // The user's own request to reconnect: closes the device when it is open, then opens it and
    // initialises the synthesizer as at start-up. The driver never retries by itself.
    void Reconnect();

    void OpenDevice();
    void CloseDevice();
    void ReportStatus();

    void BeginWord();
    void AppendBit(std::uint8_t Bit);
    void EndWord();
    void WriteControlWord();
    void WritePhaseWord(std::int32_t Select);
    void WriteFrequencyLow();
    void WriteFrequencyHigh();

    static QString IntToBinary(std::int32_t Value);
    // The text for a non-zero status, without the "Error USB -" prefix.
    static QString StatusText(FT_STATUS Status);
    static QString CreditText();

private:
    void Report(const QString &text);
    bool DeviceOpen() const { return DeviceHandle != 0; }
    void WriteFrequencyHalf(int halfSelect, int firstBit);

    D2xx &Port;
};
