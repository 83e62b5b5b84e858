#pragma once

#include "command_line.h"
#include "rigctl_service.h"

#include <memory>

class QAction;
class TForm1;
class TProgramSettings;
class TWindowMenu;

// Network control of the receiver: the rigctld-compatible server, the menu item that switches it
// on and off, and the choice kept between runs. At start the command line decides for the run
// (and names the endpoint), otherwise the saved choice; the menu item decides from then on and is
// remembered. A failure to listen goes to the status line, and the program runs on. The server's
// module is loaded the first time network control is switched on.
class TNetworkControl
{
public:
    TNetworkControl(TForm1 &form, TWindowMenu &menu, TProgramSettings &settings, const TProgramOptions &options);

    // The server, loaded now if it was not yet.
    TRigctlService &Server();
    QAction &MenuItem() { return *menuItem; }

private:
    void Switch(bool on);
    void Choose(bool on);

    TForm1 &form;
    TProgramSettings &settings;
    TRigctldEndpoint endpoint;
    QStringList allowedSubnets;
    std::unique_ptr<TRigctlService> server;
    QAction *menuItem;
};
