#include "program.h"

#include "auto_reconnect.h"
#include "current_desktop.h"
#include "main_window_actions.h"
#include "memory_storing.h"
#include "receiver_menu.h"
#include "station_lists.h"
#include "tuning_actions.h"
#include "window_menu.h"

#include <QGuiApplication>

using namespace Qt::Literals::StringLiterals;

TProgram::TProgram(D2xx &port, const QString &programDirectory, const TProgramOptions &options,
                   const QString &settingsPath, const TFtdiCensus *census, const QString &stationsFolder)
    : watchedPort(port)
    , Settings(settingsPath)
    , Receivers(census ? *census : noCensus, Settings, options.receiver)
    , Form1(watchedPort, programDirectory, &Receivers)
    , Form2(programDirectory, &Form1)
    , WindowMenu(new TWindowMenu(Form1))
    , NetworkControl(*this, Form1, TNetworkOptions{options.rigctld, options.rigctldAllowed}, Settings.NetworkControl(),
                     [this](bool on) { Settings.SetNetworkControl(on); })
    , Keyboard(Form1)
    , WindowActions(new TMainWindowActions(*WindowMenu, Form1, Settings, TMemoryFile::ForProgramIn(programDirectory).Path()))
    , MemoryStoring(new TMemoryStoring(Form1, *WindowMenu, programDirectory))
    , Reconnection(new TAutoReconnect(Form1, Receivers, &Form1))
    , ReceiverMenu(new TReceiverMenu(*this, Form1, Receivers, Settings, *Reconnection))
    , Stations(new TStationLists(*this, programDirectory, stationsFolder))
    , Tuning(new TTuningActions(Form1, *WindowMenu, Settings.TenKilohertzMediumWave(),
                                [this](bool on) { Settings.SetTenKilohertzMediumWave(on); }))
{
    Form1.SetMemoryEditor(&Form2);
    Form1.OnAir = [this](std::int32_t hertz) { return Stations->OnAirNear(hertz); };
    Stations->OnDialChanged = [this] { Form1.DescribeOnAir(); };
    watchedPort.OnWriteFailed = [this] { Reconnection->WriteFailed(); };
}

void TProgram::Start()
{
    Form1.PrepareFirstFrame();
    Form1.show();
    // Activated explicitly: where no window manager activates new windows, the main window would
    // otherwise come up inactive.
    Form1.activateWindow();
    // Chosen by the user: a Wayland compositor honours no request to keep a window on top.
    if (QGuiApplication::platformName().startsWith(u"wayland"_s))
        Form1.ShowNotice(u"Wayland cannot keep this window on top of others"_s);
}

void TProgram::BringToFront()
{
    if (Form1.isMinimized())
        Form1.showNormal();
    MoveToCurrentDesktop(Form1);
    Form1.raise();
    QWidget &focus = Form2.isVisible() ? static_cast<QWidget &>(Form2) : Form1;
    focus.raise();
    focus.activateWindow();
}

void TProgram::TuneTo(std::int32_t hertz)
{
    if (Form1.MayTune())
        Form1.TuneTo(hertz);
}

void TProgram::AskToStore(std::int32_t hertz, const QString &tag)
{
    MemoryStoring->Ask(Form1.banco, Form1.memoria, hertz, tag);
}

void TProgram::MemoriesChanged()
{
    Form1.carga_memorias();
    Form1.actualiza_memorias();
}
