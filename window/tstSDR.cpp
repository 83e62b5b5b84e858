#include "tstSDR.h"

#include "Faceplate.h"
#include "error_report.h"
#include "form_look.h"
#include "frequency_text.h"
#include "receiver_range.h"
#include "sdr.h"
#include "spoken_tuning.h"
#include "spoken_words.h"
#include "status_line.h"

#include <QApplication>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTimer>
#include <QWheelEvent>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString Caption = QStringLiteral("Corvex-Corvin");
constexpr std::int32_t StartFrequency = 14'200'000;
constexpr std::int32_t StartStep = 10'000;
constexpr int WheelNotch = 120;

// The memory buttons' columns and rows, the bank buttons' columns and rows.
constexpr std::array<int, 3> MemoryColumns{8, 64, 120};
constexpr std::array<int, 5> MemoryRows{64, 96, 128, 160, 192};
constexpr std::array<int, 2> BankColumns{248, 328};
constexpr std::array<int, 4> BankRows{96, 128, 160, 192};

// What the status line says of a memory file that cannot serve; "%1" stands for its path.
QString DamageText(TFileDamage damage)
{
    switch (damage) {
    case TFileDamage::Unreadable: return u"Cannot read the memory file %1"_s;
    case TFileDamage::NotText: return u"Not a memory file, not text: %1"_s;
    case TFileDamage::NoMemories: return u"No memories in the memory file %1"_s;
    case TFileDamage::None: break;
    }
    return {};
}

// The LED buttons' repaints are held for one handler of the window: a light that the handler
// switches off and on again, as the handlers of steps, memories, banks and the activation do, is
// not repainted, and the window changes on the screen only where it ends up looking different.
class TSettledLook
{
public:
    explicit TSettledLook(const QWidget &form)
        : buttons(form.findChildren<TLEDButton *>(QString(), Qt::FindDirectChildrenOnly))
    {
        for (TLEDButton *button : buttons)
            button->HoldRepaint();
    }
    ~TSettledLook()
    {
        for (TLEDButton *button : buttons)
            button->ReleaseRepaint();
    }
    TSettledLook(const TSettledLook &) = delete;
    TSettledLook &operator=(const TSettledLook &) = delete;

private:
    QList<TLEDButton *> buttons;
};

// Sets a control's description only when it changes: each setting tells assistive tools that it
// changed, and the activation describes the same mode again.
void Describe(QWidget *control, const QString &description)
{
    if (control->accessibleDescription() != description)
        control->setAccessibleDescription(description);
}

} // namespace

TForm1::TForm1(D2xx &port, const QString &programDirectory, TDeviceChooser *chooser)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint)
    , port(port)
    , chooser(chooser)
    , programDirectory(programDirectory)
{
    SetUpForm(*this, u"Form1"_s, Caption, DesignedPosition, OuterSize);
    CreateControls();
    qApp->installEventFilter(this);
    FormCreate();
}

TForm1::~TForm1()
{
    qApp->removeEventFilter(this);
    FormDestroy();
}

TLEDButton *TForm1::AddButton(const QString &name, const QString &caption, const QRect &geometry, TColor colorLED,
                              void (TForm1::*handler)())
{
    auto *button = new TLEDButton(this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->SetCaption(caption);
    button->SetColor(clGray);
    button->SetFont(TFont{WindowFont(), clWhite});
    button->SetBeveled(false);
    button->SetBorderStyle(bsSingle);
    button->SetButtonDirection(bdBottomUp);
    button->SetDepth(3);
    button->SetColorLED(colorLED);
    button->SetLEDContrast(6);
    button->SetShowLED(true);
    button->SetStateOn(false);
    button->SetSwitching(false);
    button->SetTextPosition(tpOnButton);
    button->OnClick = Guarded([this, handler] {
        const TSettledLook settled(*this);
        (this->*handler)();
    });
    // A right click presses the button; it does not open the window's menu.
    button->setContextMenuPolicy(Qt::PreventContextMenu);
    return button;
}

TButtonPanel *TForm1::AddPanel(const QString &name, const QString &caption, const QRect &geometry,
                               TButtonDirection direction, void (TForm1::*handler)())
{
    auto *panel = new TButtonPanel(this);
    panel->setObjectName(name);
    panel->setGeometry(geometry);
    panel->SetCaption(caption);
    panel->SetBeveled(true);
    panel->SetBorderStyle(bsSingle);
    panel->SetColor(clGray);
    panel->SetDepth(3);
    panel->SetShowLED(true);
    panel->SetFont(TFont{WindowFont(), clSilver});
    panel->SetPanelDirection(direction);
    panel->OnClick = Guarded([this, handler] { (this->*handler)(); });
    panel->setContextMenuPolicy(Qt::PreventContextMenu);
    return panel;
}

void TForm1::CreateControls()
{
    LEDDisplay1 = new TLEDDisplay(this);
    LEDDisplay1->setObjectName(u"LEDDisplay1"_s);
    LEDDisplay1->setGeometry(8, 8, 225, 49);
    LEDDisplay1->SetNumDigits(8);
    LEDDisplay1->SetFractionDigits(3);
    LEDDisplay1->SetDecSeparator(dsPoint);
    LEDDisplay1->SetLeadingZeros(false);
    LEDDisplay1->SetDrawDigitShapes(true);
    LEDDisplay1->SetSegmentStyle(ssBeveled);
    LEDDisplay1->SetLEDContrast(6);
    LEDDisplay1->SetColorLED(ReadoutColor);
    LEDDisplay1->SetColorBackGround(clBlack);
    LEDDisplay1->SetBevelStyle(bvLowered);
    LEDDisplay1->SetBorderStyle(bsSingle);
    LEDDisplay1->setAccessibleName(u"Frequency"_s);
    LEDDisplay1->OnChange = [this](QObject *) { spokenTuning->FrequencyChanged(frecuencia); };
    // The digits stand for the steps: the rightmost for 1 Hz, the leftmost for 10 MHz.
    LEDDisplay1->OnCellClick = [this](QObject *, int cell) {
        std::int32_t step = 1;
        for (int power = LEDDisplay1->NumDigits() - cell; power > 0; --power)
            step *= 10;
        if (TLEDButton *button = StepButton(step))
            button->Press();
    };

    using Handler = void (TForm1::*)();
    static constexpr std::array<Handler, MemoriesPerBank> memoryHandlers{
        &TForm1::Mem1Click,  &TForm1::mem2Click,  &TForm1::mem3Click,  &TForm1::mem4Click,  &TForm1::mem5Click,
        &TForm1::mem6Click,  &TForm1::mem7Click,  &TForm1::mem8Click,  &TForm1::mem9Click,  &TForm1::mem10Click,
        &TForm1::mem11Click, &TForm1::mem12Click, &TForm1::mem13Click, &TForm1::mem14Click, &TForm1::mem15Click};
    for (int j = 1; j <= MemoriesPerBank; ++j) {
        const QRect place(MemoryColumns[(j - 1) % 3], MemoryRows[(j - 1) / 3], 49, 25);
        const QString name = j == 1 ? u"Mem1"_s : u"mem"_s + QString::number(j);
        Mem[j - 1] = AddButton(name, u"MAAMA"_s, place, clRed, memoryHandlers[j - 1]);
    }
    LMW = AddButton(u"LMW"_s, u"MW"_s, QRect(184, 64, 49, 25), clAqua, &TForm1::LMWClick);
    LMW->setAccessibleDescription(u"Opens the memory editor."_s);
    M_VFO = AddButton(u"M_VFO"_s, u"M-VFO"_s, QRect(184, 96, 49, 25), clYellow, &TForm1::M_VFOClick);

    static constexpr std::array<Handler, BankCount> bankHandlers{
        &TForm1::bank1Click, &TForm1::bank2Click, &TForm1::Bank3Click, &TForm1::bank4Click,
        &TForm1::bank5Click, &TForm1::bank6Click, &TForm1::bank7Click, &TForm1::bank8Click};
    auto addBank = [&](int n) {
        const QRect place(BankColumns[(n - 1) % 2], BankRows[(n - 1) / 2], 65, 25);
        const QString name = n == 3 ? u"Bank3"_s : u"bank"_s + QString::number(n);
        Bank[n - 1] = AddButton(name, u"Bank"_s + QString::number(n), place, clFuchsia, bankHandlers[n - 1]);
    };
    const QSize step(33, 25);
    x1M = AddButton(u"x1M"_s, u"1 M"_s, QRect(QPoint(240, 40), step), clAqua, &TForm1::x1MClick);
    x10m = AddButton(u"x10m"_s, u"10 M"_s, QRect(QPoint(240, 8), step), clAqua, &TForm1::x10mClick);
    addBank(1);
    addBank(2);
    x100k = AddButton(u"x100k"_s, u"100K"_s, QRect(QPoint(280, 8), step), clAqua, &TForm1::x100kClick);
    X100H = AddButton(u"X100H"_s, u"100H"_s, QRect(QPoint(280, 40), step), clAqua, &TForm1::X100HClick);
    x10k = AddButton(u"x10k"_s, u"10K"_s, QRect(QPoint(320, 8), step), clAqua, &TForm1::x10kClick);
    x1k = AddButton(u"x1k"_s, u"1 k"_s, QRect(QPoint(360, 8), step), clAqua, &TForm1::x1kClick);
    X10H = AddButton(u"X10H"_s, u"10 H"_s, QRect(QPoint(320, 40), step), clAqua, &TForm1::X10HClick);
    X1H = AddButton(u"X1H"_s, u"1H"_s, QRect(QPoint(360, 40), step), clAqua, &TForm1::X1HClick);
    for (int n = 3; n <= BankCount; ++n)
        addBank(n);

    UP = AddPanel(u"UP"_s, u"UP"_s, QRect(184, 128, 49, 45), bdBottomUp, &TForm1::freq_upClick);
    DOWN = AddPanel(u"DOWN"_s, u"DOWN"_s, QRect(184, 176, 49, 45), bdTopUp, &TForm1::freq_downClick);
    // Steps, banks and memories are each one choice of a group; a step is named by what it is.
    for (std::int32_t step = 1; step <= 10'000'000; step *= 10) {
        StepButton(step)->SetChoice(true);
        StepButton(step)->setAccessibleName(u"Step "_s + StepInWords(step));
    }
    for (TLEDButton *button : Mem)
        button->SetChoice(true);
    for (TLEDButton *button : Bank)
        button->SetChoice(true);
    SetKeyboardOrder();

    info = new QLabel(u"-"_s, this);
    info->setObjectName(u"info"_s);
    info->setGeometry(8, 224, 385, 17);
    info->setTextFormat(Qt::PlainText);
    QPalette white = info->palette();
    white.setColor(QPalette::WindowText, Qt::white);
    info->setPalette(white);
    // The status line's voice, which also speaks what the focused control cannot.
    announcer = new TAnnouncer(info);
    announcer->setObjectName(u"announcer"_s);
    status = new TStatusLine(*info, *announcer);
    spokenTuning = new TSpokenTuning(*LEDDisplay1, *announcer);
    spokenTuning->OnSettled = [this](std::int32_t) {
        DescribeOnAir();
        return onAirHere.value(0);
    };
}

// Tab follows the layout: the readout, the steps from the coarsest, UP, DOWN, MW, the memory/VFO
// toggle, then the memories and the banks, each by rows. The window keeps the focus itself until
// the user moves it, so no control is pressed by a stray Space.
void TForm1::SetKeyboardOrder()
{
    QList<QWidget *> order{LEDDisplay1};
    for (std::int32_t step = 10'000'000; step >= 1; step /= 10)
        order << StepButton(step);
    order << UP << DOWN << LMW << M_VFO;
    for (TLEDButton *button : Mem)
        order << button;
    for (TLEDButton *button : Bank)
        order << button;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    setFocus();
}

bool TForm1::focusNextPrevChild(bool next)
{
    if (focusWidget() != this)
        return QWidget::focusNextPrevChild(next);
    if (next)
        LEDDisplay1->setFocus(Qt::TabFocusReason);
    else
        Bank[BankCount - 1]->setFocus(Qt::BacktabFocusReason);
    return true;
}

void TForm1::FocusReadout()
{
    if (LEDDisplay1->hasFocus())
        return;
    LEDDisplay1->setFocus(focusWidget() == this ? Qt::OtherFocusReason : Qt::ShortcutFocusReason);
}

void TForm1::FormCreate()
{
    sdr = new Tsdr(this, port);
    sdr->Chooser = chooser;
    sdr->OnMessage = [this](Tsdr *Sender, const QString &Text) { escribir_memo(Sender, Text); };
    sdr->Initialize();
    // Topmost comes from the window flags given at creation: it neither moves, resizes nor
    // activates the window.
}

void TForm1::FormDestroy()
{
    delete sdr;
    sdr = nullptr;
}

void TForm1::SetMemoryEditor(QWidget *editor)
{
    memoryEditor = editor;
}

void TForm1::escribir_memo(Tsdr *, const QString &Text)
{
    ShowStatus(Text, chooser ? chooser->Detail(Text) : QString());
}

void TForm1::ShowStatus(const QString &text, const QString &detail)
{
    status->Show(text, detail);
}

void TForm1::ShowNotice(const QString &text)
{
    status->ShowNotice(text);
}

void TForm1::EndNotice()
{
    status->EndNotice();
}

void TForm1::TuneTo(std::int32_t frequency)
{
    frecuencia = frequency;
    actualizar_frecuencia();
}

void TForm1::ReconnectReceiver()
{
    if (reconnecting)
        return;
    reconnecting = true;
    ShowStatus(u"Reconnecting the receiver\u2026"_s);
    QTimer::singleShot(ReconnectPause, this, Guarded([this] {
        reconnecting = false;
        ReopenReceiver();
    }));
}

void TForm1::ReopenReceiver()
{
    sdr->Reconnect();
    actualizar_frecuencia();
}

bool TForm1::ReceiverOpen() const
{
    return sdr->DeviceHandle != 0;
}

void TForm1::CloseReceiver()
{
    sdr->CloseDevice();
}

void TForm1::SetReferenceClock(std::int64_t hertz)
{
    sdr->ReferenceClock = hertz;
    actualizar_frecuencia();
}

void TForm1::SetAlwaysOnTop(bool on)
{
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on)
        return;
    const bool shown = isVisible();
    const QPoint place = pos();
    // A new flag recreates the window, which hides it.
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    move(place);
    if (shown)
        show();
}

void TForm1::SetMode(const QString &label, int hertz)
{
    modeLabel = label;
    passband = hertz;
}

void TForm1::apaga_multiplicadores()
{
    for (TLEDButton *button : {x10m, x1M, x100k, x10k, x1k, X100H, X10H, X1H})
        button->SetStateOn(false);
}

void TForm1::SelectStep(TLEDButton *button, std::int32_t step)
{
    apaga_multiplicadores();
    paso = step;
    button->SetStateOn(true);
    DescribeStep();
    // A screen reader speaks the new light of the focused button alone (the readout's description
    // it cannot follow); Left and Right change the step from the readout.
    if (!button->hasFocus())
        spokenTuning->Tell(u"Step "_s + StepInWords(step));
}

void TForm1::DescribeStep()
{
    QString description = u"Step "_s + StepInWords(paso) + (tuningLocked ? u". Tuning locked"_s : QString());
    for (const QString &station : std::as_const(onAirHere))
        description += u'\n' + station;
    Describe(LEDDisplay1, description);
}

void TForm1::DescribeOnAir()
{
    onAirHere = OnAir ? OnAir(frecuencia) : QStringList();
    const QString tip = onAirHere.join(u'\n');
    if (LEDDisplay1->toolTip() != tip)
        LEDDisplay1->setToolTip(tip);
    DescribeStep();
}

void TForm1::X1HClick() { SelectStep(X1H, 1); }
void TForm1::X10HClick() { SelectStep(X10H, 10); }
void TForm1::X100HClick() { SelectStep(X100H, 100); }
void TForm1::x1kClick() { SelectStep(x1k, 1'000); }
void TForm1::x10kClick() { SelectStep(x10k, 10'000); }
void TForm1::x100kClick() { SelectStep(x100k, 100'000); }
void TForm1::x1MClick() { SelectStep(x1M, 1'000'000); }
void TForm1::x10mClick() { SelectStep(x10m, 10'000'000); }

TLEDButton *TForm1::StepButton(std::int32_t step) const
{
    switch (step) {
    case 10'000'000: return x10m;
    case 1'000'000: return x1M;
    case 100'000: return x100k;
    case 10'000: return x10k;
    case 1'000: return x1k;
    case 100: return X100H;
    case 10: return X10H;
    case 1: return X1H;
    default: return nullptr;
    }
}

// The step is taken only when the result stays below 70,000,001; the sum is checked first, so
// an overflow stops the handler before anything changes.
void TForm1::freq_upClick()
{
    if (!MayTune())
        return;
    const std::int32_t sum = CheckedAdd(frecuencia, paso);
    if (sum < ReceiverRange::Highest + 1)
        frecuencia = sum;
    actualizar_frecuencia();
}

void TForm1::freq_downClick()
{
    if (!MayTune())
        return;
    const std::int32_t difference = CheckedSubtract(frecuencia, paso);
    if (difference > LowestTuningExclusive)
        frecuencia = difference;
    actualizar_frecuencia();
}

// A message of a notch or more is one step. Smaller deltas, from touchpads and free-spinning
// wheels, add up until they make a notch in one direction; a change of direction starts again.
void TForm1::CMMouseWheel(int delta)
{
    const int steps = WheelNotches(delta);
    if (steps > 0)
        freq_upClick();
    else if (steps < 0)
        freq_downClick();
}

int TForm1::WheelNotches(int delta)
{
    const auto wheelDelta = static_cast<std::int16_t>(delta);
    int steps = wheelDelta / WheelNotch;
    if (steps == 0 && wheelDelta != 0) {
        if ((wheelRemainder > 0 && wheelDelta < 0) || (wheelRemainder < 0 && wheelDelta > 0))
            wheelRemainder = 0;
        wheelRemainder += wheelDelta;
        steps = wheelRemainder / WheelNotch;
        wheelRemainder %= WheelNotch;
    } else {
        wheelRemainder = 0;
    }
    return steps;
}

void TForm1::actualizar_frecuencia()
{
    LEDDisplay1->SetValue(frecuencia / 1000.0);
    if (sendsToDriver)
        sdr->SetFrequency(frecuencia);
    history.Tuned(frecuencia, Now());
}

void TForm1::ChannelUp() { MoveChannel(true); }
void TForm1::ChannelDown() { MoveChannel(false); }

void TForm1::MoveChannel(bool up)
{
    if (!MayTune())
        return;
    const std::int64_t channel = NextChannel(frecuencia, up, mediumWave, paso);
    if (up ? channel < ReceiverRange::Highest + 1 : channel > LowestTuningExclusive)
        frecuencia = static_cast<std::int32_t>(channel);
    actualizar_frecuencia();
}

void TForm1::GoBack()
{
    if (MayTune())
        Navigate(history.Back(Now()));
}

void TForm1::GoForward()
{
    if (MayTune())
        Navigate(history.Forward(Now()));
}

void TForm1::Navigate(const std::optional<std::int32_t> &target)
{
    if (!target)
        return;
    frecuencia = *target;
    actualizar_frecuencia();
}

void TForm1::SetTuningLocked(bool on)
{
    tuningLocked = on;
    lockTold = false;
    setWindowTitle(on ? Caption + u" - tuning locked"_s : Caption);
    DescribeStep();
    spokenTuning->Tell(on ? u"Tuning locked"_s : u"Tuning unlocked"_s);
}

bool TForm1::MayTune()
{
    if (!tuningLocked)
        return true;
    if (!lockTold) {
        ShowNotice(u"Tuning locked - Ctrl+K unlocks"_s);
        lockTold = true;
    }
    return false;
}

void TForm1::FormActivate()
{
    const TSettledLook settled(*this);
    carga_memorias();
    banco = 1;
    memoria = 1;
    actualiza_memorias();
    apaga_multiplicadores();
    paso = StartStep;
    modo_memoria = true;
    frecuencia_vfo = StartFrequency;
    cambio_memoria_vfo();
}

void TForm1::PrepareFirstFrame()
{
    const QScopedValueRollback<bool> quiet(sendsToDriver, false);
    try {
        FormActivate();
    } catch (const std::exception &) {
        // The activation meets the same failure and reports it; reported here too, it would
        // show twice.
    }
}

void TForm1::carga_memorias()
{
    const TMemoryFile file = TMemoryFile::ForProgramIn(programDirectory);
    if (!file.Exists())
        file.CreateWithDefaults();
    const TMemoryFileContents contents = file.Read();
    for (int n = 1; n <= BankCount; ++n)
        Bank[n - 1]->SetCaption(contents.banks.names[n]);
    memorias = contents.banks.memories;
    if (contents.damage != TFileDamage::None)
        ShowNotice(status->WithPath(DamageText(contents.damage), file.Path()));
}

void TForm1::apaga_memorias()
{
    for (TLEDButton *button : Mem)
        button->SetStateOn(false);
}

void TForm1::apaga_banks()
{
    for (TLEDButton *button : Bank)
        button->SetStateOn(false);
}

void TForm1::actualiza_memorias()
{
    for (int j = 1; j <= MemoriesPerBank; ++j)
        Mem[j - 1]->SetCaption(memorias(banco, j).tag);
    DescribeMemories();
}

void TForm1::DescribeMemories()
{
    for (int j = 1; j <= MemoriesPerBank; ++j) {
        const TDescribedMemory memory{memorias(banco, j), modo_memoria};
        if (described[j - 1] == memory)
            continue;
        described[j - 1] = memory;
        QString text = MemoryInWords(j, memory.slot);
        if (!modo_memoria)
            text += u"\nIn VFO mode: MEM switches to the memories."_s;
        text += u"\nRight-click or Menu key: store the frequency you hear here."_s;
        Mem[j - 1]->setToolTip(text);
        // The name says what it holds: a screen reader always speaks a name, and a description
        // only when the user lingers (or asks).
        TMemSlot heard = memory.slot;
        heard.tag = CaptionAsRead(heard.tag.str());
        Mem[j - 1]->setAccessibleName(MemoryInWords(j, heard));
        Mem[j - 1]->setAccessibleDescription(text);
    }
}

void TForm1::DescribeMode()
{
    Describe(M_VFO, modo_memoria ? u"Memory mode. VFO switches to the VFO."_s : u"VFO mode. MEM switches to the memories."_s);
    for (TLEDButton *button : Bank)
        Describe(button, modo_memoria ? QString() : u"In VFO mode: MEM switches to the memories."_s);
}

void TForm1::memoria_a_freq()
{
    const std::optional<std::int32_t> recalled = FrequencyFromText(memorias(banco, memoria).freq);
    if (!recalled)
        return;
    EndNotice();
    TuneTo(*recalled);
}

void TForm1::cambio_vfo_memorias()
{
    frecuencia_vfo = frecuencia;
    M_VFO->SetStateOn(false);
    M_VFO->SetCaption(u"VFO"_s);
    modo_memoria = true;
    DescribeMode();
    Bank[banco - 1]->SetStateOn(true);
    Mem[memoria - 1]->SetStateOn(true);
    actualiza_memorias();
    memoria_a_freq();
}

void TForm1::cambio_memoria_vfo()
{
    apaga_banks();
    apaga_memorias();
    modo_memoria = false;
    DescribeMemories();
    M_VFO->SetStateOn(true);
    M_VFO->SetCaption(u"MEM"_s);
    DescribeMode();
    frecuencia = frecuencia_vfo;
    if (TLEDButton *button = StepButton(paso))
        button->SetStateOn(true);
    DescribeStep();
    actualizar_frecuencia();
}

void TForm1::M_VFOClick()
{
    if (!MayTune())
        return;
    EndNotice();
    if (modo_memoria)
        cambio_memoria_vfo();
    else
        cambio_vfo_memorias();
    // The toggle's new caption names the other mode; the listener hears which one is on.
    spokenTuning->Tell(modo_memoria ? u"Memory mode"_s : u"VFO mode"_s);
}

void TForm1::MemoryClick(int J)
{
    if (!modo_memoria || !MayTune())
        return;
    apaga_memorias();
    Mem[J - 1]->SetStateOn(true);
    memoria = J;
    memoria_a_freq();
}

void TForm1::BankClick(int N)
{
    if (!modo_memoria)
        return;
    apaga_banks();
    apaga_memorias();
    banco = N;
    Bank[N - 1]->SetStateOn(true);
    actualiza_memorias();
}

void TForm1::LMWClick()
{
    if (!memoryEditor || memoryEditor->isVisible())
        return;
    memoryEditor->show();
    memoryEditor->activateWindow();
}

void TForm1::setVisible(bool visible)
{
    if (visible && !isVisible())
        screenFit.Showing();
    QWidget::setVisible(visible);
}

void TForm1::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FitOuterSize();
    screenFit.Shown();
}

void TForm1::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    if (!isVisible())
        return;
    FitOuterSize();
    screenFit.Moved();
}

// The designed size is the outer size, frame included; the frame is known only once shown.
void TForm1::FitOuterSize()
{
    const QSize frame = frameGeometry().size() - size();
    setFixedSize(OuterSize - frame);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate: {
        // Message boxes and other dialogs pass the focus back without being forms of their own;
        // so do the tool windows beside the two forms (the stations list), whose tuning coming
        // back to the main window keeps.
        auto *form = qobject_cast<QWidget *>(watched);
        if (form == nullptr || !form->isWindow() || (form != this && form != memoryEditor))
            break;
        // Coming back from another application leaves the last active form as it was.
        const bool fromAnotherForm = form == this && lastActiveForm != this;
        // The receiver's state was shown before the window could be heard.
        if (form == this && lastActiveForm.isNull())
            status->AnnounceShown();
        lastActiveForm = form;
        if (fromAnotherForm)
            RunGuarded([this] { FormActivate(); });
        break;
    }
    case QEvent::Wheel: {
        auto *target = qobject_cast<QWidget *>(watched);
        if (target == nullptr || target->window() != this)
            break;
        const auto *wheel = static_cast<QWheelEvent *>(event);
        const int delta = wheel->angleDelta().y();
        // With Ctrl the wheel moves by channels.
        if (wheel->modifiers() & Qt::ControlModifier)
            RunGuarded([this, delta] {
                if (const int notches = WheelNotches(delta); notches != 0)
                    MoveChannel(notches > 0);
            });
        else
            RunGuarded([this, delta] { CMMouseWheel(delta); });
        return true;
    }
    case QEvent::Hide:
        // The memory editor gives the focus back to the main window when it closes, as the
        // window system would; the activation then reloads the memories. Hidden by the window
        // system (minimised with the main window), it leaves the focus alone.
        if (watched == memoryEditor && !event->spontaneous() && isVisible())
            activateWindow();
        break;
    default:
        break;
    }
    return false;
}
