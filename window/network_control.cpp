#include "network_control.h"

#include "error_report.h"
#include "program_settings.h"
#include "tstSDR.h"

#include <QAction>
#include <QMenu>

using namespace Qt::Literals::StringLiterals;

TNetworkControl::TNetworkControl(TForm1 &form, QMenu &menu, TProgramSettings &settings,
                                 const TProgramOptions &options)
    : form(form)
    , settings(settings)
    , endpoint(options.rigctld.value_or(TRigctldEndpoint{}))
    , server(form)
    , menuItem(menu.addAction(u"Network control (rigctld) on "_s + EndpointText(endpoint.address, endpoint.port)))
{
    server.SetAllowedSubnets(options.rigctldAllowed);
    server.OnFailure = [&form](const QString &text) { form.ShowStatus(text); };
    menuItem->setCheckable(true);
    QObject::connect(menuItem, &QAction::triggered, menuItem, Guarded([this] { Choose(menuItem->isChecked()); }));
    Switch(options.rigctld.has_value() || settings.NetworkControl());
}

// The check mark shows whether the server listens, whatever was asked.
void TNetworkControl::Switch(bool on)
{
    if (!on)
        server.Close();
    else if (!server.Listen(endpoint.address, endpoint.port))
        form.ShowStatus(server.ListenFailure());
    menuItem->setChecked(server.IsListening());
}

void TNetworkControl::Choose(bool on)
{
    Switch(on);
    settings.SetNetworkControl(on);
}
