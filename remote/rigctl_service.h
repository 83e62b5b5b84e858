#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class TRemoteTuning;

// Where the rigctld-compatible server listens: a literal address as the system writes it
// (IPv6 without brackets) and a port.
struct TRigctldEndpoint
{
    static constexpr quint16 DefaultPort = 4532;

    QString address = QStringLiteral("127.0.0.1");
    quint16 port = DefaultPort;
};

// ADDRESS:PORT as users write it, IPv6 in brackets ([::1]:4532).
inline QString EndpointText(const TRigctldEndpoint &endpoint)
{
    const QString host = endpoint.address.contains(u':') ? u'[' + endpoint.address + u']' : endpoint.address;
    return host + u':' + QString::number(endpoint.port);
}

// The rigctld-compatible server as the program sees it. It lives in a module of its own, loaded
// when network control is first switched on, so that a run without it never loads the network
// libraries.
class TRigctlService
{
public:
    virtual ~TRigctlService() = default;

    // Subnets (CIDR, as the command line took them) whose peers may connect besides loopback.
    virtual void AllowSubnets(const QStringList &subnets) = 0;
    // Listens afresh; on failure ListenFailure() says why in one text.
    virtual bool Listen(const TRigctldEndpoint &endpoint) = 0;
    // Stops listening and drops every client.
    virtual void Close() = 0;
    virtual bool IsListening() const = 0;
    // The port listened on, the one the system chose when asked for port 0.
    virtual quint16 Port() const = 0;
    virtual int ClientCount() const = 0;
    virtual const QString &ListenFailure() const = 0;

    // Told when answering a client failed (that client is dropped, the others go on).
    std::function<void(const QString &text)> OnFailure;
};

// What the module exports, by this name.
using TCreateRigctlService = TRigctlService *(TRemoteTuning &tuning);
inline constexpr char CreateRigctlServiceSymbol[] = "CorvexCreateRigctlService";
