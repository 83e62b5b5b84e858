#include "network_control.h"

#include "error_report.h"
#include "main_window_link.h"
#include "rigctl_loader.h"
#include "window_menu.h"

#include <QAction>
#include <QMenu>

#include <utility>

using namespace Qt::Literals::StringLiterals;

TNetworkControl::TNetworkControl(TMainWindowLink &mainWindow, TRemoteTuning &tuning, const TNetworkOptions &options,
                                 bool chosen, std::function<void(bool)> keep)
    : mainWindow(mainWindow)
    , tuning(tuning)
    , keep(std::move(keep))
    , endpoint(options.endpoint.value_or(TRigctldEndpoint{}))
    , allowedSubnets(options.allowedSubnets)
    , menuItem(new QAction(u"Network control (rigctld) on "_s + EndpointText(endpoint), &mainWindow.Menu().Menu()))
{
    mainWindow.Menu().Add(TMenuSection::Network, menuItem);
    menuItem->setCheckable(true);
    QObject::connect(menuItem, &QAction::triggered, menuItem, Guarded([this] { Choose(menuItem->isChecked()); }));
    Switch(options.endpoint.has_value() || chosen);
}

TRigctlService &TNetworkControl::Server()
{
    if (!server) {
        server = LoadRigctlService(tuning);
        server->AllowSubnets(allowedSubnets);
        server->OnFailure = [this](const QString &text) { mainWindow.ShowStatus(text, {}); };
    }
    return *server;
}

// The check mark shows whether the server listens, whatever was asked.
void TNetworkControl::Switch(bool on)
{
    if (!on) {
        if (server)
            server->Close();
    } else if (!Server().Listen(endpoint)) {
        mainWindow.ShowStatus(Server().ListenFailure(), {});
    }
    menuItem->setChecked(server && server->IsListening());
}

void TNetworkControl::Choose(bool on)
{
    Switch(on);
    keep(on);
}
