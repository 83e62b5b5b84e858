#pragma once

#include "channel_grid.h"
#include "colors.h"
#include "faceplate_types.h"
#include "memory_store.h"
#include "receiver_link.h"
#include "remote_tuning.h"
#include "screen_fit.h"
#include "tuning_history.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

class D2xx;
class TDeviceChooser;
class QLabel;
class TAnnouncer;
class TButtonPanel;
class TLEDButton;
class TLEDDisplay;
class TSpokenTuning;
class TStatusLine;
class Tsdr;

// The receiver's main window: the frequency readout, tuning steps and keys, memories and banks,
// the memory/VFO toggle and the status line. It owns the synthesizer driver and the tuning state,
// which network clients read and tune through TRemoteTuning, and drives the receiver for its
// selection and reconnection through TReceiverLink.
class TForm1 : public QWidget, public TRemoteTuning, public TReceiverLink
{
public:
    // Every library call of the driver goes to `port`, to the chip `chooser` names (the first FTDI
    // chip without one); the memory file is the one of the program in `programDirectory`.
    TForm1(D2xx &port, const QString &programDirectory, TDeviceChooser *chooser = nullptr);
    ~TForm1() override;

    static constexpr QPoint DesignedPosition{430, 110};
    static constexpr QSize OuterSize{405, 280};
    static constexpr std::int32_t LowestTuningExclusive = 70'000;

    // The window that "MW" shows; the main window is activated again when it hides.
    void SetMemoryEditor(QWidget *editor);

    // The driver's message event: the text replaces the status line.
    void escribir_memo(Tsdr *Sender, const QString &Text);
    // Replaces the status line's lasting text.
    // `detail`, when given, is the whole of a text that the line shows in short.
    void ShowStatus(const QString &text, const QString &detail = {}) override;
    // Shows a passing text over it, until the user next tunes successfully or for a few seconds.
    void ShowNotice(const QString &text);
    void EndNotice();
    // Tunes as a memory recall does: the frequency is shown and sent, whatever it is.
    void TuneTo(std::int32_t frequency) override;
    // Says that it tries, and after ReconnectPause, long enough to be read, opens the receiver
    // again as at start-up and sends it the current frequency; the outcome then replaces the
    // status line, even when it reads as before.
    void ReconnectReceiver() override;
    static constexpr std::chrono::milliseconds ReconnectPause{400};
    // Opens the receiver again at once, as at start-up, and sends it the current frequency: the
    // synthesizer cannot be read back, so the panel's state is the truth.
    void ReopenReceiver() override;
    bool ReceiverOpen() const override;
    void CloseReceiver() override;
    void SetReferenceClock(std::int64_t hertz) override;
    // Whether the window stays above all windows that are not topmost; it keeps its place.
    void SetAlwaysOnTop(bool on);

    // Network clients: the frequency shown, and the mode they keep here.
    std::int32_t Frequency() const override { return frecuencia; }
    QString ModeLabel() const override { return modeLabel; }
    int Passband() const override { return passband; }
    void SetMode(const QString &label, int hertz) override;

    // Tuning (steps, UP, DOWN, wheel).
    void apaga_multiplicadores();
    void X1HClick();
    void X10HClick();
    void X100HClick();
    void x1kClick();
    void x10kClick();
    void x100kClick();
    void x1MClick();
    void x10mClick();
    void freq_upClick();
    void freq_downClick();
    // One wheel message of `delta` (120 a notch): at most one step up or down.
    void CMMouseWheel(int delta);
    void actualizar_frecuencia();
    // The next or previous broadcast channel of the grid that holds the frequency, otherwise the
    // step; limited as UP and DOWN are.
    void ChannelUp();
    void ChannelDown();
    void SetMediumWaveGrid(TMediumWaveGrid grid) { mediumWave = grid; }
    // Back and forward through the frequencies that stayed on the dial, tuned as the wheel tunes.
    void GoBack();
    void GoForward();
    // While locked, nothing the user does here tunes: the first try says so. Network clients still
    // tune, and the activation still resets the tuning.
    void SetTuningLocked(bool on);
    bool TuningLocked() const { return tuningLocked; }
    // Whether the user may tune now; saying, the first time, that tuning is locked.
    bool MayTune();
    // What is on the air at a frequency, nearest first: the readout's tooltip and description name
    // them, and the first is heard once the frequency settles.
    std::function<QStringList(std::int32_t hertz)> OnAir;
    // The stations on the air changed (lists read or imported): the readout describes them anew.
    void DescribeOnAir();
    // What time it is for the history of what was tuned.
    std::function<TTuningHistory::TTime()> Now = [] { return std::chrono::steady_clock::now(); };
    // The step button of a step (1 Hz to 10 MHz); none for any other value.
    TLEDButton *StepButton(std::int32_t step) const;
    // What a listener hears of the frequency and of an entry being typed.
    TSpokenTuning &SpokenTuning() const { return *spokenTuning; }
    // Gives the readout the focus, where a screen reader speaks the frequency, unless it has it;
    // for the keys that tune. The focus mark shows when the keyboard moved it from a control.
    void FocusReadout();

    // Memories, banks and modes.
    void FormActivate();
    // Sets up before the first showing what the first activation will show (captions, lights,
    // readout), so the first frame is the settled window and that activation repaints nothing.
    // The synthesizer hears nothing of it: its frequency comes with the activation.
    void PrepareFirstFrame();
    void carga_memorias();
    void apaga_memorias();
    void apaga_banks();
    void actualiza_memorias();
    void memoria_a_freq();
    void cambio_vfo_memorias();
    void cambio_memoria_vfo();
    void M_VFOClick();
    void LMWClick();
    void MemoryClick(int J);
    void BankClick(int N);
    void Mem1Click() { MemoryClick(1); }
    void mem2Click() { MemoryClick(2); }
    void mem3Click() { MemoryClick(3); }
    void mem4Click() { MemoryClick(4); }
    void mem5Click() { MemoryClick(5); }
    void mem6Click() { MemoryClick(6); }
    void mem7Click() { MemoryClick(7); }
    void mem8Click() { MemoryClick(8); }
    void mem9Click() { MemoryClick(9); }
    void mem10Click() { MemoryClick(10); }
    void mem11Click() { MemoryClick(11); }
    void mem12Click() { MemoryClick(12); }
    void mem13Click() { MemoryClick(13); }
    void mem14Click() { MemoryClick(14); }
    void mem15Click() { MemoryClick(15); }
    void bank1Click() { BankClick(1); }
    void bank2Click() { BankClick(2); }
    void Bank3Click() { BankClick(3); }
    void bank4Click() { BankClick(4); }
    void bank5Click() { BankClick(5); }
    void bank6Click() { BankClick(6); }
    void bank7Click() { BankClick(7); }
    void bank8Click() { BankClick(8); }

    // Tuning state.
    std::int32_t frecuencia = 0;
    std::int32_t paso = 0;
    std::int32_t frecuencia_vfo = 0;
    std::int32_t banco = 0;
    std::int32_t memoria = 0;
    bool modo_memoria = false;
    TMemTable memorias;

    // Controls, in the order they are created.
    TLEDDisplay *LEDDisplay1 = nullptr;
    std::array<TLEDButton *, MemoriesPerBank> Mem{}; // Mem1, mem2 .. mem15
    TLEDButton *LMW = nullptr;
    TLEDButton *M_VFO = nullptr;
    TLEDButton *x1M = nullptr;
    TLEDButton *x10m = nullptr;
    std::array<TLEDButton *, BankCount> Bank{}; // bank1, bank2, Bank3, bank4 .. bank8
    TLEDButton *x100k = nullptr;
    TLEDButton *X100H = nullptr;
    TLEDButton *x10k = nullptr;
    TLEDButton *x1k = nullptr;
    TLEDButton *X10H = nullptr;
    TLEDButton *X1H = nullptr;
    TButtonPanel *UP = nullptr;
    TButtonPanel *DOWN = nullptr;
    QLabel *info = nullptr;
    TAnnouncer *announcer = nullptr;
    Tsdr *sdr = nullptr;

protected:
    // Shown, the window is kept within its screen's work area.
    void setVisible(bool visible) override;
    void showEvent(QShowEvent *event) override;
    // The window manager frames the window after it is shown and moves it into the frame: the
    // outer size is fitted again once the frame is known, and the place with it.
    void moveEvent(QMoveEvent *event) override;
    // Activation from another form of the program, the wheel anywhere in the window, and the
    // memory editor hiding.
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Tab from the window itself, where no control holds the focus yet, starts at the readout;
    // Shift+Tab at the last control.
    bool focusNextPrevChild(bool next) override;

private:
    void CreateControls();
    TLEDButton *AddButton(const QString &name, const QString &caption, const QRect &geometry, TColor colorLED,
                          void (TForm1::*handler)());
    TButtonPanel *AddPanel(const QString &name, const QString &caption, const QRect &geometry, TButtonDirection direction,
                           void (TForm1::*handler)());
    void FormCreate();
    void FormDestroy();
    void FitOuterSize();
    // Each memory button's tooltip and description: what it holds, and in VFO mode how to reach
    // the memories.
    void DescribeMemories();
    // The step in words, as the readout's description.
    void DescribeStep();
    // The mode in words, on the memory/VFO toggle and the bank buttons.
    void DescribeMode();
    void SelectStep(TLEDButton *button, std::int32_t step);
    // A wheel message in whole notches, the smaller ones added up.
    int WheelNotches(int delta);
    void MoveChannel(bool up);
    void Navigate(const std::optional<std::int32_t> &target);
    void SetKeyboardOrder();

    D2xx &port;
    TDeviceChooser *chooser;
    QString programDirectory;
    TScreenFit screenFit{*this};
    QPointer<QWidget> memoryEditor;
    QPointer<QWidget> lastActiveForm;
    TStatusLine *status = nullptr;
    TSpokenTuning *spokenTuning = nullptr;
    QStringList onAirHere;
    // What each memory button's description was made from, so that it is made again only when
    // that changes.
    struct TDescribedMemory
    {
        TMemSlot slot;
        bool memoryMode = false;
        bool operator==(const TDescribedMemory &) const = default;
    };
    std::array<std::optional<TDescribedMemory>, MemoriesPerBank> described;
    bool reconnecting = false;
    int wheelRemainder = 0;
    TMediumWaveGrid mediumWave = TMediumWaveGrid::NineKilohertz;
    TTuningHistory history;
    bool tuningLocked = false;
    bool lockTold = false;
    bool sendsToDriver = true;
    QString modeLabel = QStringLiteral("USB");
    int passband = 2400;
};
