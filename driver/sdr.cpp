#include "sdr.h"

#include "tuning_word.h"

#include <utility>

namespace {

using namespace Qt::Literals::StringLiterals;

// Port bits below the band bits; the idle state holds clock and sync high, data low.
constexpr std::uint8_t ClockHigh = 1;
constexpr std::uint8_t Data = 2;
constexpr std::uint8_t SyncHigh = 4;
constexpr std::uint8_t Idle = ClockHigh + SyncHigh;
constexpr std::uint8_t PinMaskAllOutputs = 0xFF;
constexpr std::uint32_t BaudRate = 115'200;

constexpr int ResetBit = 8;
constexpr int FiveBit = 5;
constexpr int HalfSelectBit = 12;
constexpr int BothHalvesBit = 13;

std::int32_t BandFor(std::int32_t frequency)
{
    std::int32_t band = 16;
    if (frequency > 1'200'000)
        band = 48;
    if (frequency > 5'000'000)
        band = 64;
    if (frequency > 9'000'000)
        band = 96;
    if (frequency > 18'500'000)
        band = 80;
    if (frequency > 28'000'000)
        band = 112;
    return band;
}

} // namespace

Tsdr::Tsdr(QObject *Owner, D2xx &port)
    : QObject(Owner)
    , Port(port)
{
}

Tsdr::~Tsdr()
{
    if (DeviceOpen())
        CloseDevice();
}

void Tsdr::Initialize()
{
    OpenDevice();
    BandBits = 0;
    ControlBits.fill(0);
    ControlBits[ResetBit] = 1;
    ControlBits[FiveBit] = 1;
    WriteControlWord();
    WritePhaseWord(0);
    WritePhaseWord(1);
    ControlBits[ResetBit] = 0;
    WriteControlWord();
}

void Tsdr::Reconnect()
{
    if (DeviceOpen())
        CloseDevice();
    Initialize();
}

void Tsdr::SetFrequency(std::int32_t Frequency)
{
    if (Frequency < LowestFrequency || Frequency > HighestFrequency)
        return;
    BandBits = BandFor(Frequency);
    const QString digits = IntToBinary(static_cast<std::int32_t>(TuningWord(Frequency, ReferenceClock)));
    for (int i = 0; i < 28; ++i)
        FrequencyBits[i] = digits[4 + i] != u'0' ? 1 : 0;
    WriteFrequencyLow();
    WriteFrequencyHigh();
}

void Tsdr::OpenDevice()
{
    DeviceHandle = 0;
    const TDeviceChooser::TChoice choice = Chooser ? Chooser->Choose() : TDeviceChooser::TChoice{};
    if (!choice.refusal.isEmpty()) {
        Report(choice.refusal);
        return;
    }
    ReferenceClock = choice.referenceClock;
    FT_HANDLE handle = 0;
    LastStatus = choice.portPath.empty() ? Port.FT_Open(0, &handle) : Port.FT_OpenEx(choice.portPath, &handle);
    DeviceHandle = LastStatus == FT_OK ? handle : 0;
    if (LastStatus != FT_OK) {
        ReportStatus();
        return;
    }
    // Neither result is checked here: a failing rate call shows at the first bit appended.
    LastStatus = Port.FT_SetBitMode(DeviceHandle, PinMaskAllOutputs, FT_BITMODE_SYNC_BITBANG);
    LastStatus = Port.FT_SetBaudRate(DeviceHandle, BaudRate);
    if (Chooser)
        Chooser->Opened();
    Report(CreditText());
}

void Tsdr::CloseDevice()
{
    LastStatus = Port.FT_Close(std::exchange(DeviceHandle, 0));
}

void Tsdr::ReportStatus()
{
    Report(u"Error USB -"_s + StatusText(LastStatus));
}

void Tsdr::Report(const QString &text)
{
    if (OnMessage)
        OnMessage(this, text);
}

void Tsdr::BeginWord()
{
    if (!DeviceOpen())
        return;
    const auto band = static_cast<std::uint8_t>(BandBits);
    TxBuffer.Clear();
    TxBuffer.Append(band + Idle);
    TxBuffer.Append(band + Idle);
    TxBuffer.Append(band + ClockHigh);
}

void Tsdr::AppendBit(std::uint8_t Bit)
{
    if (!DeviceOpen())
        return;
    const auto band = static_cast<std::uint8_t>(BandBits);
    const std::uint8_t data = Bit == 1 ? Data : 0;
    TxBuffer.Append(band + ClockHigh + data);
    TxBuffer.Append(band + data);
    TxBuffer.Append(band + ClockHigh + data);
    if (LastStatus != FT_OK)
        ReportStatus();
}

void Tsdr::EndWord()
{
    if (!DeviceOpen())
        return;
    TxBuffer.Append(static_cast<std::uint8_t>(BandBits) + Idle);
    std::uint32_t written = 0;
    LastStatus = Port.FT_Write(DeviceHandle, TxBuffer.Bytes.data(), TxBuffer.Length, &written);
    if (LastStatus != FT_OK)
        ReportStatus();
}

void Tsdr::WriteControlWord()
{
    if (!DeviceOpen())
        return;
    BeginWord();
    for (int bit = 15; bit >= 0; --bit)
        AppendBit(ControlBits[bit]);
    EndWord();
}

void Tsdr::WritePhaseWord(std::int32_t Select)
{
    if (!DeviceOpen())
        return;
    BeginWord();
    AppendBit(1);
    AppendBit(1);
    AppendBit(Select != 0 ? 1 : 0);
    for (int i = 0; i < 13; ++i)
        AppendBit(0);
    EndWord();
}

void Tsdr::WriteFrequencyLow()
{
    WriteFrequencyHalf(0, 14);
}

void Tsdr::WriteFrequencyHigh()
{
    WriteFrequencyHalf(1, 0);
}

// One 14-bit half of the tuning word, FrequencyBits[firstBit] first, after its control word.
void Tsdr::WriteFrequencyHalf(int halfSelect, int firstBit)
{
    if (ControlBits[BothHalvesBit] == 0) {
        ControlBits[HalfSelectBit] = static_cast<std::uint8_t>(halfSelect);
        WriteControlWord();
    }
    BeginWord();
    AppendBit(0);
    AppendBit(1);
    for (int i = firstBit; i < firstBit + 14; ++i)
        AppendBit(FrequencyBits[i]);
    EndWord();
}

QString Tsdr::IntToBinary(std::int32_t Value)
{
    QString digits(32, u'0');
    const auto bits = static_cast<std::uint32_t>(Value);
    for (int i = 0; i < 32; ++i)
        if ((bits >> (31 - i)) & 1u)
            digits[i] = u'1';
    return digits;
}

QString Tsdr::StatusText(FT_STATUS Status)
{
    switch (Status) {
    case FT_INVALID_HANDLE: return u"Handle inválido-Invalid handle"_s;
    case FT_DEVICE_NOT_FOUND: return u"Dispositivo no encontrado - Device not found"_s;
    case FT_DEVICE_NOT_OPENED: return u"Dispositivo no abierto-Devide not openend"_s;
    case FT_IO_ERROR: return u"Error de entrada/salida- In out error"_s;
    case FT_INSUFFICIENT_RESOURCES: return u"Recursos insuficientes-INSUFFICIENT RESOURCES"_s;
    case FT_INVALID_PARAMETER: return u"Parametro invalido-INVALID PARAMETER"_s;
    case FT_INVALID_BAUD_RATE: return u"Baud Rate inválido-INVALID BAUD_RATE"_s;
    case FT_DEVICE_NOT_OPENED_FOR_ERASE: return u"Dispositivo na abierto para borrar"_s;
    case FT_DEVICE_NOT_OPENED_FOR_WRITE: return u"Dispositivo no habierto para escritura"_s;
    case FT_FAILED_TO_WRITE_DEVICE: return u"Fallo al escribir en el dispositivo"_s;
    case FT_EEPROM_READ_FAILED: return u"EEPROM fallo de lectura"_s;
    case FT_EEPROM_WRITE_FAILED: return u"EEPROM fallo de escritura"_s;
    case FT_EEPROM_ERASE_FAILED: return u"EEPROM fallo de borrado"_s;
    case FT_EEPROM_NOT_PRESENT: return u"EEPROM no presente"_s;
    case FT_EEPROM_NOT_PROGRAMMED: return u"EEPROM no programada"_s;
    case FT_INVALID_ARGS: return u"Argumento no válido"_s;
    case FT_NOT_SUPPORTED: return u"No soportado-NOT SUPPORTED"_s;
    default:
        // Codes above 17, and negative ones, which the library never defined.
        return u"Error no determinado Nro: "_s + QString::number(Status);
    }
}

QString Tsdr::CreditText()
{
    return u"Receptor Corvex-Corvin conectado - Receiver connected"_s;
}
