#include "rigctl_server.h"

#include "rigctl_connection.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

QString ListenProblem(QAbstractSocket::SocketError error, const QString &errorString)
{
    switch (error) {
    case QAbstractSocket::AddressInUseError: return u"address in use"_s;
    case QAbstractSocket::SocketAddressNotAvailableError: return u"address not available"_s;
    case QAbstractSocket::SocketAccessError: return u"permission denied"_s;
    case QAbstractSocket::UnsupportedSocketOperationError: return u"address family not supported"_s;
    default: return errorString;
    }
}

} // namespace

bool IsPeerAllowed(const QHostAddress &peer, const TSubnets &allowed)
{
    bool isIPv4 = false;
    const quint32 ipv4 = peer.toIPv4Address(&isIPv4);
    const QHostAddress address = isIPv4 ? QHostAddress(ipv4) : peer;
    if (address.isLoopback())
        return true;
    return std::ranges::any_of(allowed, [&](const QPair<QHostAddress, int> &subnet) {
        return address.isInSubnet(subnet);
    });
}

QString EndpointText(const QHostAddress &address, quint16 port)
{
    return EndpointText(TRigctldEndpoint{address.toString(), port});
}

void TRigctlListener::incomingConnection(qintptr descriptor)
{
    if (OnAccepted)
        OnAccepted(descriptor);
    else
        ::close(static_cast<int>(descriptor));
}

TRigctlServer::TRigctlServer(TRemoteTuning &tuning, QObject *parent)
    : QObject(parent)
    , tuning(tuning)
{
    listener.OnAccepted = [this](qintptr descriptor) { Accept(descriptor); };
}

TRigctlServer::~TRigctlServer()
{
    Close();
}

void TRigctlServer::AllowSubnets(const QStringList &subnets)
{
    allowed.clear();
    for (const QString &text : subnets) {
        const QPair<QHostAddress, int> subnet = QHostAddress::parseSubnet(text);
        if (!subnet.first.isNull())
            allowed << subnet;
    }
}

// "::" takes both families, as rigctld -T :: does: IPv4 peers then arrive as ::ffff:a.b.c.d, which
// the allowed subnets judge by their IPv4 address.
bool TRigctlServer::Listen(const TRigctldEndpoint &endpoint)
{
    const QHostAddress address(endpoint.address);
    if (address == QHostAddress(QHostAddress::AnyIPv6) && listener.listen(QHostAddress::Any, endpoint.port)) {
        listenFailure.clear();
        return true;
    }
    return Listen(address, endpoint.port);
}

bool TRigctlServer::Listen(const QHostAddress &address, quint16 port)
{
    Close();
    if (listener.listen(address, port)) {
        listenFailure.clear();
        return true;
    }
    listenFailure = u"rigctld: cannot listen on "_s + EndpointText(address, port) + u" - "_s +
                    ListenProblem(listener.serverError(), listener.errorString());
    return false;
}

void TRigctlServer::Close()
{
    listener.close();
    for (TRigctlConnection *connection : std::exchange(connections, {})) {
        connection->OnClosed = nullptr;
        connection->Drop();
        delete connection;
    }
}

void TRigctlServer::Accept(qintptr descriptor)
{
    sockaddr_storage peer{};
    socklen_t length = sizeof peer;
    const bool known = ::getpeername(static_cast<int>(descriptor), reinterpret_cast<sockaddr *>(&peer), &length) == 0;
    if (!known || !IsPeerAllowed(QHostAddress(reinterpret_cast<const sockaddr *>(&peer)), allowed) ||
        ClientCount() >= MaxClients) {
        ::close(static_cast<int>(descriptor));
        return;
    }
    auto *connection = new TRigctlConnection(descriptor, tuning, this);
    connection->OnClosed = [this](TRigctlConnection &closed) { Forget(closed); };
    connection->OnFailure = [this](const QString &text) {
        if (OnFailure)
            OnFailure(text);
    };
    connections.push_back(connection);
}

void TRigctlServer::Forget(TRigctlConnection &connection)
{
    std::erase(connections, &connection);
    connection.deleteLater();
}
