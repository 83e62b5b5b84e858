#include "network_control.h"

#include "error_report.h"
#include "program_settings.h"
#include "rigctl_loader.h"
#include "tstSDR.h"
#include "window_menu.h"

#include <QAction>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

TNetworkControl::TNetworkControl(TForm1 &form, TWindowMenu &menu, TProgramSettings &settings,
                                 const TProgramOptions &options)
    : form(form)
    , settings(settings)
    , endpoint(options.rigctld.value_or(TRigctldEndpoint{}))
    , allowedSubnets(options.rigctldAllowed)
    , menuItem(new QAction(u"Network control (rigctld) on "_s + EndpointText(endpoint), &menu.Menu()))
{
    menu.Add(TMenuSection::Network, menuItem);
    menuItem->setCheckable(true);
    QObject::connect(menuItem, &QAction::triggered, menuItem, Guarded([this] { Choose(menuItem->isChecked()); }));
    Switch(options.rigctld.has_value() || settings.NetworkControl());
}

TRigctlService &TNetworkControl::Server()
{
    if (!server) {
        server = LoadRigctlService(form);
        server->AllowSubnets(allowedSubnets);
        server->OnFailure = [this](const QString &text) { form.ShowStatus(text); };
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
        form.ShowStatus(Server().ListenFailure());
    }
    menuItem->setChecked(server && server->IsListening());
}

void TNetworkControl::Choose(bool on)
{
    Switch(on);
    settings.SetNetworkControl(on);
}
