#pragma once

#include "list_commands.h"
#include "rigctl_service.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>

// What the command line asks of a run of the program.
struct TProgramOptions
{
    // Set when --rigctld or --rigctld-listen was given: the server listens for this run whatever
    // the saved choice says.
    std::optional<TRigctldEndpoint> rigctld;
    // Subnets whose peers may connect besides loopback (--rigctld-allow, checked, as written);
    // they also apply when the window switches it on.
    QStringList rigctldAllowed;
    // The receiver's chip for this run (--receiver SERIAL), whatever the settings remember.
    std::optional<QString> receiver;
};

// The outcome of reading the command line: either the options of a run, or a text to print and
// an exit code (--help, --version, a mistake).
struct TCommandLine
{
    TProgramOptions options;
    std::optional<TListCommand> listCommand;
    QString platform; // -platform, as given
    QString display;  // -display, as given
    std::optional<int> exitCode;
    QString output; // for standard output
    QString error;  // for standard error
};

// Reads the arguments (the program's name first), before the toolkit starts, so that --help and
// --version need no display. Every option of the program is declared here; the toolkit's own
// (-platform, -style ...) are let through for it.
TCommandLine ParseCommandLine(const QStringList &arguments);

// Why no window can be shown, in one line, or nothing: the platform chosen (-platform, or else
// QT_QPA_PLATFORM, a list allowed), or by default X11 or Wayland, finds no display to connect to
// in `environment`.
QString MissingDisplay(const TCommandLine &line, const QProcessEnvironment &environment);

// The platform the program picks where the user chose none (no -platform, no QT_QPA_PLATFORM),
// or nothing: X11 first wherever an X server answers, XWayland included, since a Wayland
// compositor neither keeps a window above the others nor lets it choose its place; Wayland where
// the X server fails.
QString DefaultPlatform(const TCommandLine &line, const QProcessEnvironment &environment);

// The program's version, as --version and the About box show it.
QString ProgramVersion();
