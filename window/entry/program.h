#pragma once

#include "command_line.h"
#include "config.h"
#include "failure_watching_d2xx.h"
#include "keyboard_tuning.h"
#include "main_window_link.h"
#include "network_control.h"
#include "program_settings.h"
#include "receiver_selection.h"
#include "station_store.h"
#include "tstSDR.h"

class TAutoReconnect;
class TMainWindowActions;
class TMemoryStoring;
class TReceiverMenu;
class TStationLists;
class TTuningActions;
class TWindowMenu;

// The program's two windows, created in start-up order: the main window (which opens the device
// and initialises the synthesizer), then the memory editor, hidden and owned by the main window,
// so that window managers keep it above the main window; and what joins them to the rest: the
// main window's menu, the choices kept between runs, which FTDI chip is the receiver and opening
// it again when it comes back, and network control. It answers what those capabilities ask of the
// main window.
class TProgram final : public TMainWindowLink
{
public:
    // The memory file is the one of the program in `programDirectory`; the menu's choices are
    // kept in the settings file at `settingsPath`; `census` lists the FTDI chips (none listed
    // without one: the first chip is opened); imported station lists are kept in `stationsFolder`.
    TProgram(D2xx &port, const QString &programDirectory, const TProgramOptions &options = {},
             const QString &settingsPath = TProgramSettings::DefaultPath(),
             const TFtdiCensus *census = nullptr, const QString &stationsFolder = TStationStore::DefaultFolder());

    // Shows and activates the main window, which then runs its activation handler.
    void Start();
    // Another start of the program asks for this one: its windows come to the front, on the
    // user's desktop, the main window restored when minimised. The focus goes to the editor when it is open, so that the
    // main window is not activated from it, which would reset the tuning.
    void BringToFront();

    QWidget &Window() override { return Form1; }
    TWindowMenu &Menu() override { return *WindowMenu; }
    std::int32_t Frequency() const override { return Form1.frecuencia; }
    // As a recall does, unless tuning is locked.
    void TuneTo(std::int32_t hertz) override;
    void ShowStatus(const QString &text, const QString &detail) override { Form1.ShowStatus(text, detail); }
    void AskToStore(std::int32_t hertz, const QString &tag) override;
    void MemoriesChanged() override;

private:
    TListedFtdiCensus noCensus;
    // Tells the reconnection of failed writes.
    TFailureWatchingD2xx watchedPort;

public:
    TProgramSettings Settings;
    TReceiverSelection Receivers;
    TForm1 Form1;
    TForm2 Form2;
    TWindowMenu *WindowMenu;
    TNetworkControl NetworkControl;
    TKeyboardTuning Keyboard;
    TMainWindowActions *WindowActions;
    TMemoryStoring *MemoryStoring;
    TAutoReconnect *Reconnection;
    TReceiverMenu *ReceiverMenu;
    TStationLists *Stations;
    TTuningActions *Tuning;
};
