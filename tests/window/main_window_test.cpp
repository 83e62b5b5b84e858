#include "paint_counter.h"
#include "program_rig.h"

#include <QLabel>

#include <climits>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray OneMemory(const QByteArray &bank, const QByteArray &memory, const QByteArray &text)
{
    return "[bank" + bank + "]\nmem" + memory + "=" + text + "\n";
}

} // namespace

using TuningTest = MainWindowRig;

TEST_F(TuningTest, ControlsStandWhereDesignedInCreationOrder)
{
    Start();
    TForm1 &form = Form1();
    const QStringList order{u"LEDDisplay1"_s, u"Mem1"_s,  u"mem2"_s,  u"mem3"_s,  u"mem4"_s,  u"mem5"_s,  u"mem6"_s,
                            u"mem7"_s,        u"mem8"_s,  u"mem9"_s,  u"mem10"_s, u"mem11"_s, u"mem12"_s, u"mem13"_s,
                            u"mem14"_s,       u"mem15"_s, u"LMW"_s,   u"M_VFO"_s, u"x1M"_s,   u"x10m"_s,  u"bank1"_s,
                            u"bank2"_s,       u"x100k"_s, u"X100H"_s, u"x10k"_s,  u"x1k"_s,   u"X10H"_s,  u"X1H"_s,
                            u"Bank3"_s,       u"bank4"_s, u"bank5"_s, u"bank6"_s, u"bank7"_s, u"bank8"_s, u"UP"_s,
                            u"DOWN"_s,        u"info"_s};
    // The controls: child widgets that are not windows of their own (such as the menu).
    QList<QWidget *> controls;
    QStringList created;
    for (QObject *child : form.children())
        if (auto *control = qobject_cast<QWidget *>(child); control != nullptr && !control->isWindow()) {
            controls << control;
            created << control->objectName();
        }
    EXPECT_EQ(created, order);

    const std::map<QString, QRect> places{
        {u"LEDDisplay1"_s, {8, 8, 225, 49}}, {u"x10m"_s, {240, 8, 33, 25}},   {u"x100k"_s, {280, 8, 33, 25}},
        {u"x10k"_s, {320, 8, 33, 25}},       {u"x1k"_s, {360, 8, 33, 25}},    {u"x1M"_s, {240, 40, 33, 25}},
        {u"X100H"_s, {280, 40, 33, 25}},     {u"X10H"_s, {320, 40, 33, 25}},  {u"X1H"_s, {360, 40, 33, 25}},
        {u"LMW"_s, {184, 64, 49, 25}},       {u"M_VFO"_s, {184, 96, 49, 25}}, {u"Mem1"_s, {8, 64, 49, 25}},
        {u"mem3"_s, {120, 64, 49, 25}},      {u"mem4"_s, {8, 96, 49, 25}},    {u"mem15"_s, {120, 192, 49, 25}},
        {u"bank1"_s, {248, 96, 65, 25}},     {u"bank2"_s, {328, 96, 65, 25}}, {u"Bank3"_s, {248, 128, 65, 25}},
        {u"bank8"_s, {328, 192, 65, 25}},    {u"UP"_s, {184, 128, 49, 45}},   {u"DOWN"_s, {184, 176, 49, 45}},
        {u"info"_s, {8, 224, 385, 17}}};
    for (const auto &[name, place] : places) {
        QWidget *control = form.findChild<QWidget *>(name);
        ASSERT_NE(control, nullptr) << name.toStdString();
        EXPECT_EQ(control->geometry(), place) << name.toStdString();
    }
    // No two controls overlap.
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype k = i + 1; k < controls.size(); ++k)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[k]->geometry()))
                << controls[i]->objectName().toStdString() << " and " << controls[k]->objectName().toStdString();

    EXPECT_EQ(form.x1k->Caption(), u"1 k"_s);
    EXPECT_EQ(form.x10m->Caption(), u"10 M"_s);
    EXPECT_EQ(form.Mem[0]->ColorLED(), clRed);
    EXPECT_EQ(form.Bank[0]->ColorLED(), clFuchsia);
    EXPECT_EQ(form.M_VFO->ColorLED(), clYellow);
    EXPECT_EQ(form.LMW->ColorLED(), clAqua);
    EXPECT_FALSE(form.Mem[0]->Switching());
    EXPECT_EQ(form.UP->PanelDirection(), bdBottomUp);
    EXPECT_EQ(form.DOWN->PanelDirection(), bdTopUp);
    EXPECT_EQ(form.UP->Font().Color, clSilver);
    EXPECT_EQ(form.Mem[0]->Font().Color, clWhite);
    EXPECT_EQ(form.LEDDisplay1->ColorLED(), 16773680);
}

TEST_F(TuningTest, StartsAt14200kHzWithTheTenKilohertzStep)
{
    program.emplace(port, folder.path());
    port.ClearCalls();
    program->Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
    EXPECT_EQ(Form1().LEDDisplay1->Value(), 14200.0);
    EXPECT_EQ(SentFrequency(), 14'200'000);
    EXPECT_EQ(LitSteps(), QStringList{u"x10k"_s});
    EXPECT_EQ(Form1().paso, 10'000);
    EXPECT_FALSE(Form1().modo_memoria);
}

TEST_F(TuningTest, UpStopsAtSeventyMegahertz)
{
    Start();
    Form1().frecuencia = 69'990'000;
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 70'000'000);
    EXPECT_EQ(SentFrequency(), 70'000'000);
    port.ClearCalls();
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 70'000'000);
    EXPECT_EQ(SentFrequency(), 70'000'000); // sent again

    Click(Form1().x1M);
    Form1().frecuencia = 69'999'999;
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 69'999'999);
}

TEST_F(TuningTest, DownNeverReachesSeventyKilohertz)
{
    Start();
    Form1().frecuencia = 80'000;
    Click(Form1().DOWN);
    EXPECT_EQ(Form1().frecuencia, 80'000);
    Form1().frecuencia = 80'001;
    Click(Form1().DOWN);
    EXPECT_EQ(Form1().frecuencia, 70'001);
    EXPECT_EQ(SentFrequency(), 70'001);
    EXPECT_DOUBLE_EQ(Form1().LEDDisplay1->Value(), 70.001);
}

TEST_F(TuningTest, WheelTakesAtMostOneStepPerMessage)
{
    Start();
    QWidget *anywhere = Form1().Mem[4];
    Wheel(anywhere, 60);
    Wheel(anywhere, -60);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_TRUE(port.Writes().empty());
    Wheel(anywhere, 240);
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
    Wheel(Form1().LEDDisplay1, -120);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    EXPECT_EQ(SentFrequency(), 14'200'000);
    // A touchpad's small deltas add up to a notch.
    for (int i = 0; i < 3; ++i)
        Wheel(Form1().info, 30);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    Wheel(Form1().info, 30);
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
    // A turn the other way starts the sum afresh: 100 up, then 4 x 30 down, is one notch down.
    Wheel(Form1().info, 100);
    for (int i = 0; i < 4; ++i)
        Wheel(Form1().info, -30);
    EXPECT_EQ(Form1().frecuencia, 14'200'000);
    // Whatever has the focus, the window takes the wheel.
    Form1().UP->setFocus();
    Wheel(&Form1(), -120);
    EXPECT_EQ(Form1().frecuencia, 14'190'000);
}

TEST_F(TuningTest, RecalledFrequencyBeyondTheRangeIsShownNotSent)
{
    WriteMemoryFile(OneMemory("1", "1", "100000000"));
    Start();
    Click(Form1().M_VFO);
    EXPECT_EQ(Form1().frecuencia, 100'000'000);
    EXPECT_EQ(Form1().LEDDisplay1->Value(), 100000.0);
    EXPECT_TRUE(port.Writes().empty());
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, 100'000'000);
    Click(Form1().DOWN);
    EXPECT_EQ(Form1().frecuencia, 99'990'000);
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(TuningTest, OverflowStopsTheHandlerAndSaysIntegerOverflow)
{
    WriteMemoryFile("[bank1]\nmem1=2147483647\nmem2=-2147483648\n");
    Start();
    Click(Form1().M_VFO);
    Click(Form1().X10H);
    port.ClearCalls();
    Click(Form1().UP);
    Wheel(Form1().LEDDisplay1, 120);
    EXPECT_EQ(errors, (QStringList{u"Integer overflow"_s, u"Integer overflow"_s}));
    EXPECT_EQ(Form1().frecuencia, INT_MAX);
    EXPECT_TRUE(port.Calls().empty());

    Click(Form1().Mem[1]);
    const double shown = Form1().LEDDisplay1->Value();
    Click(Form1().DOWN);
    EXPECT_EQ(errors.size(), 3);
    EXPECT_EQ(Form1().frecuencia, INT_MIN);
    EXPECT_EQ(Form1().LEDDisplay1->Value(), shown);
    // The program goes on.
    Click(Form1().UP);
    EXPECT_EQ(Form1().frecuencia, INT_MIN + 10);
}

TEST_F(TuningTest, AFrequencyChangeRepaintsTheDisplayAlone)
{
    Start();
    QCoreApplication::processEvents();
    // The activation's new value opened a frame of the readout; the wheel comes after it.
    QTest::qWait(2 * TLEDDisplay::ValueFrameMilliseconds);
    TPaintCounter counter;
    for (QWidget *child : Form1().findChildren<QWidget *>())
        counter.Watch(child);
    Wheel(Form1().LEDDisplay1, 120);
    EXPECT_EQ(counter.AfterWaitingFor(Form1().LEDDisplay1, 1), 1);
    counter.paints.erase(Form1().LEDDisplay1);
    for (const auto &[control, count] : counter.paints)
        EXPECT_EQ(count, 0) << control->objectName().toStdString();
}
