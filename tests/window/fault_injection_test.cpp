#include "program_rig.h"

#include <QLabel>

using namespace Qt::Literals::StringLiterals;
using Kind = RecordingD2xx::Kind;

namespace {

// The status texts as the user reads them.
QString ExpectedText(FT_STATUS status)
{
    static const char16_t *const texts[] = {
        u"Handle inválido-Invalid handle",
        u"Dispositivo no encontrado - Device not found",
        u"Dispositivo no abierto-Devide not openend",
        u"Error de entrada/salida- In out error",
        u"Recursos insuficientes-INSUFFICIENT RESOURCES",
        u"Parametro invalido-INVALID PARAMETER",
        u"Baud Rate inválido-INVALID BAUD_RATE",
        u"Dispositivo na abierto para borrar",
        u"Dispositivo no habierto para escritura",
        u"Fallo al escribir en el dispositivo",
        u"EEPROM fallo de lectura",
        u"EEPROM fallo de escritura",
        u"EEPROM fallo de borrado",
        u"EEPROM no presente",
        u"EEPROM no programada",
        u"Argumento no válido",
        u"No soportado-NOT SUPPORTED",
    };
    const QString text = status >= 1 && status <= 17 ? QString::fromUtf16(texts[status - 1])
                                                     : u"Error no determinado Nro: "_s + QString::number(status);
    return u"Error USB -"_s + text;
}

struct Fault
{
    Kind kind;
    FT_STATUS status;
};

std::vector<Fault> EveryFault()
{
    std::vector<Fault> faults;
    for (const Kind kind : {Kind::Open, Kind::SetBitMode, Kind::SetBaudRate, Kind::Write, Kind::Close}) {
        for (FT_STATUS status = 1; status <= 18; ++status)
            faults.push_back({kind, status});
        faults.push_back({kind, 9999});
        faults.push_back({kind, -1});
    }
    return faults;
}

void PrintTo(const Fault &fault, std::ostream *out)
{
    *out << "call " << static_cast<int>(fault.kind) << " fails with " << fault.status;
}

std::string FaultName(const testing::TestParamInfo<Fault> &info)
{
    static const char *const kinds[] = {"Open", "SetBitMode", "SetBaudRate", "Write", "Close"};
    const FT_STATUS s = info.param.status;
    return std::string(kinds[static_cast<int>(info.param.kind)]) + (s < 0 ? "Minus" : "") + std::to_string(s < 0 ? -s : s);
}

} // namespace

class FaultInjectionTest : public MainWindowRig, public testing::WithParamInterface<Fault>
{
};

// Every call failing every time: the program starts, the status line says what the failure
// table gives, and tuning goes on.
TEST_P(FaultInjectionTest, ProgramGoesOnAndTheStatusLineSaysWhy)
{
    const Fault fault = GetParam();
    port.Fail(fault.kind, fault.status);
    program.emplace(port, folder.path());
    program->Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));

    QString expected;
    switch (fault.kind) {
    case Kind::Open:
    case Kind::SetBaudRate: // reported for every bit of the first word, and left standing
    case Kind::Write:
        expected = ExpectedText(fault.status);
        break;
    case Kind::SetBitMode: // hidden by the rate call that follows it
    case Kind::Close:
        expected = Tsdr::CreditText();
        break;
    }
    EXPECT_EQ(Form1().info->text(), expected);

    // Tuning goes on: wheel, UP and DOWN mixed.
    port.ClearCalls();
    Wheel(Form1().LEDDisplay1, 120);
    Click(Form1().UP);
    Click(Form1().DOWN);
    Wheel(Form1().Mem[0], -120);
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
    EXPECT_EQ(Form1().LEDDisplay1->Value(), 14210.0);
    const int expectedWrites = fault.kind == Kind::Open ? 0 : 5 * 4;
    EXPECT_EQ(port.Count(Kind::Write), expectedWrites);
    EXPECT_EQ(Form1().info->text(), expected);
    EXPECT_TRUE(errors.isEmpty());

    program.reset();
    EXPECT_EQ(port.Count(Kind::Close), fault.kind == Kind::Open ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(EveryCallEveryStatus, FaultInjectionTest, testing::ValuesIn(EveryFault()), FaultName);

// A device that fails only now and then: the text of the failure stays until another one comes.
using DeviceFaultTest = MainWindowRig;

TEST_F(DeviceFaultTest, OccasionalWriteFailureIsShownAndTuningRecovers)
{
    Start();
    port.Fail(Kind::Write, FT_IO_ERROR, 2);
    Click(Form1().UP);
    EXPECT_EQ(Form1().info->text(), ExpectedText(FT_IO_ERROR));
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 14'220'000);
    EXPECT_EQ(SentFrequency(), 14'220'000);
    EXPECT_EQ(Form1().info->text(), ExpectedText(FT_IO_ERROR));
}
