#pragma once

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
class TRigctlServer : public QObject
{
public:
    static constexpr int MaxClients = 32;

    explicit TRigctlServer(TRemoteTuning &tuning, QObject *parent = nullptr);
    ~TRigctlServer() override;

    // Subnets whose peers may connect besides loopback.
    void SetAllowedSubnets(const TSubnets &subnets);

    // Listens afresh; on failure, ListenFailure() says why ("rigctld: cannot listen on
    // 127.0.0.1:4532 - address in use").
    bool Listen(const QHostAddress &address, quint16 port);
    // Stops listening and drops every client.
    void Close();

    bool IsListening() const { return listener.isListening(); }
    // The port listened on, the one the system chose when asked for port 0.
    quint16 Port() const { return listener.serverPort(); }
    int ClientCount() const { return static_cast<int>(connections.size()); }
    const QString &ListenFailure() const { return listenFailure; }

    // Told when answering a client failed (that client is dropped, the others go on).
    std::function<void(const QString &text)> OnFailure;

private:
    void Accept(qintptr descriptor);
    void Forget(TRigctlConnection &connection);

    TRemoteTuning &tuning;
    TRigctlListener listener;
    TSubnets allowed;
    std::vector<TRigctlConnection *> connections;
    QString listenFailure;
};
