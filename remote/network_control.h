#pragma once

#include "rigctl_service.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class TMainWindowLink;

// Where the server listens and whom it lets in besides loopback, as the command line says.
struct TNetworkOptions
{
    // Given for this run (--rigctld, --rigctld-listen): it listens whatever was chosen before.
    std::optional<TRigctldEndpoint> endpoint;
    QStringList allowedSubnets;
};

// Network control of the receiver: the rigctld-compatible server, the menu item that switches it
// on and off, and the choice kept between runs. At start the command line decides for the run
// (and names the endpoint), otherwise the saved choice; the menu item decides from then on and is
// remembered through `keep`. A failure to listen goes to the status line, and the program runs on.
// The server's module is loaded the first time network control is switched on.
class TNetworkControl
{
public:
    TNetworkControl(TMainWindowLink &mainWindow, TRemoteTuning &tuning, const TNetworkOptions &options, bool chosen,
                    std::function<void(bool)> keep);

    // The server, loaded now if it was not yet.
    TRigctlService &Server();
    QAction &MenuItem() { return *menuItem; }

private:
    void Switch(bool on);
    void Choose(bool on);

    TMainWindowLink &mainWindow;
    TRemoteTuning &tuning;
    std::function<void(bool)> keep;
    TRigctldEndpoint endpoint;
    QStringList allowedSubnets;
    std::unique_ptr<TRigctlService> server;
    QAction *menuItem;
};
