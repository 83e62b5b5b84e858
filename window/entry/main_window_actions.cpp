#include "main_window_actions.h"

#include "command_line.h"
#include "error_report.h"
#include "program_settings.h"
#include "tstSDR.h"
#include "window_menu.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QMessageBox>

using namespace Qt::Literals::StringLiterals;

TMainWindowActions::TMainWindowActions(TWindowMenu &menu, TForm1 &form, TProgramSettings &settings,
                                       const QString &memoryFilePath)
    : QObject(&form)
    , AlwaysOnTop(menu.AddChoice(
          TMenuSection::Window, u"Always on top"_s, settings.AlwaysOnTop(), [&form](bool on) { form.SetAlwaysOnTop(on); },
          [&settings](bool on) { settings.SetAlwaysOnTop(on); }))
    , ReconnectReceiver(new QAction(u"Reconnect receiver"_s, this))
    , About(new QAction(u"About Corvex-Corvin"_s, this))
    , form(form)
    , aboutText(AboutText(memoryFilePath, settings.Path()))
{
    menu.Add(TMenuSection::Receiver, ReconnectReceiver);
    menu.Add(TMenuSection::Program, About);
    connect(ReconnectReceiver, &QAction::triggered, this, [&form] { RunGuarded([&form] { form.ReconnectReceiver(); }); });
    connect(About, &QAction::triggered, this, [this] { ShowAbout(); });
}

QString TMainWindowActions::AboutText(const QString &memoryFilePath, const QString &settingsFilePath)
{
    return u"Corvex-Corvin %1\n"
           "The control panel of the Corvex and Corvin receivers.\n\n"
           "Memories: %2\n"
           "Settings: %3\n\n"
           "When the status line says that the device could not be opened "
           "(\"Dispositivo no abierto-Devide not openend\"), this user may not open the receiver's USB "
           "chip. The udev rule 60-corvex-ftdi.rules lets the logged-in user open it: the package "
           "installs it in /usr/lib/udev/rules.d; from a build, copy packaging/60-corvex-ftdi.rules "
           "to /etc/udev/rules.d. Then run \"sudo udevadm control --reload-rules && sudo udevadm "
           "trigger\", plug the receiver in again and choose \"Reconnect receiver\"."_s.arg(
               ProgramVersion(), QDir::toNativeSeparators(memoryFilePath), QDir::toNativeSeparators(settingsFilePath));
}

// Shown without waiting, so the receiver and the network go on being served.
void TMainWindowActions::ShowAbout()
{
    auto *box = new QMessageBox(QMessageBox::Information, u"About Corvex-Corvin"_s, aboutText, QMessageBox::Ok, &form);
    box->setObjectName(u"about"_s);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}
