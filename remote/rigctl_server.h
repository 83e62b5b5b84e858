#pragma once

#include "rigctl_service.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPair>
#include <QTcpServer>

#include <functional>
#include <vector>

class TRemoteTuning;
class TRigctlConnection;

using TSubnets = QList<QPair<QHostAddress, int>>;

// Whether a peer may connect: loopback always, anyone else only from one of the allowed subnets.
// An IPv4 peer seen through an IPv6 socket (::ffff:a.b.c.d) counts as the IPv4 address.
bool IsPeerAllowed(const QHostAddress &peer, const TSubnets &allowed);

// ADDRESS:PORT as users write it, IPv6 in brackets ([::1]:4532).
QString EndpointText(const QHostAddress &address, quint16 port);

// Hands each accepted descriptor on as it is, with no QTcpSocket around it.
class TRigctlListener : public QTcpServer
{
public:
    std::function<void(qintptr descriptor)> OnAccepted;

protected:
    void incomingConnection(qintptr descriptor) override;
};

// A rigctld-compatible server in the program's event loop. It moves bytes between clients and
// their sessions, turns away peers outside the allowed subnets and clients beyond MaxClients at
// once, and words a failure to listen as one text.
class TRigctlServer : public QObject, public TRigctlService
{
public:
    static constexpr int MaxClients = 32;

    explicit TRigctlServer(TRemoteTuning &tuning, QObject *parent = nullptr);
    ~TRigctlServer() override;

    // Subnets whose peers may connect besides loopback; a text that is not a subnet is passed over.
    void AllowSubnets(const QStringList &subnets) override;

    // Listens afresh; on failure, ListenFailure() says why ("rigctld: cannot listen on
    // 127.0.0.1:4532 - address in use").
    bool Listen(const QHostAddress &address, quint16 port);
    bool Listen(const TRigctldEndpoint &endpoint) override;
    void Close() override;

    bool IsListening() const override { return listener.isListening(); }
    quint16 Port() const override { return listener.serverPort(); }
    int ClientCount() const override { return static_cast<int>(connections.size()); }
    const QString &ListenFailure() const override { return listenFailure; }

private:
    void Accept(qintptr descriptor);
    void Forget(TRigctlConnection &connection);

    TRemoteTuning &tuning;
    TRigctlListener listener;
    TSubnets allowed;
    std::vector<TRigctlConnection *> connections;
    QString listenFailure;
};
