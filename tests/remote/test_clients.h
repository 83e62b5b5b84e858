#pragma once

#include <QHostAddress>
#include <QTcpSocket>
#include <QTest>

#include <gtest/gtest.h>

#include <QDir>

#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

// Waits that keep the event loop (and so the server) turning.
constexpr int NetworkTimeout = 20'000;

// A client in the test's own thread: every wait turns the event loop, so the server answers.
class TestClient
{
public:
    TestClient()
    {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
    }

    bool Connect(quint16 port, const QHostAddress &address = QHostAddress::LocalHost,
                 const QHostAddress &from = QHostAddress())
    {
        if (!from.isNull() && !socket.bind(from))
            return false;
        socket.connectToHost(address, port);
        return QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; }, NetworkTimeout);
    }

    // Sends the request and takes the reply once it holds `lines` line ends.
    QByteArray Exchange(const QByteArray &request, qsizetype lines = 1)
    {
        socket.write(request);
        EXPECT_TRUE(QTest::qWaitFor([&] { return received.count('\n') >= lines || !Connected(); }, NetworkTimeout))
            << "no reply to " << request.toStdString();
        return Take();
    }
    QByteArray Take() { return std::exchange(received, QByteArray()); }
    bool WaitUntilClosed()
    {
        return QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::UnconnectedState; },
                               NetworkTimeout);
    }
    bool Connected() const { return socket.state() == QAbstractSocket::ConnectedState; }

    QTcpSocket socket;
    QByteArray received;
};

// A client through a plain non-blocking socket with a small receive buffer, which reads only when
// told to, so the server's replies pile up.
class SmallBufferPeer
{
public:
    ~SmallBufferPeer()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }

    bool Connect(quint16 port)
    {
        descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        const int smallest = 1;
        ::setsockopt(descriptor, SOL_SOCKET, SO_RCVBUF, &smallest, sizeof smallest);
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(port);
        server.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        const int result = ::connect(descriptor, reinterpret_cast<const sockaddr *>(&server), sizeof server);
        return result == 0 || errno == EINPROGRESS;
    }

    // Writes what the socket takes now without waiting; false once the connection is gone.
    bool Send(const QByteArray &bytes) { return Write(bytes) >= 0; }
    // The number of bytes the socket took now, -1 once the connection is gone.
    qsizetype Write(const QByteArray &bytes)
    {
        const ssize_t sent = ::send(descriptor, bytes.constData(), static_cast<size_t>(bytes.size()),
                                    MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent >= 0)
            return sent;
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINPROGRESS ? 0 : -1;
    }

    // At most `most` of the bytes that arrived, without waiting.
    QByteArray Read(int most)
    {
        QByteArray bytes(most, Qt::Uninitialized);
        const ssize_t got = ::recv(descriptor, bytes.data(), static_cast<size_t>(most), MSG_DONTWAIT);
        ended = ended || got == 0;
        bytes.truncate(got > 0 ? got : 0);
        return bytes;
    }
    // Whether a Read found the server's end of the connection.
    bool Ended() const { return ended; }

    // The bytes the kernel holds unsent on the server's side of this connection: the server runs
    // in this process, so its socket is among this process's descriptors.
    qsizetype QueuedAtTheServer() const
    {
        const quint16 own = Port(descriptor, ::getsockname);
        for (const QString &entry : QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            const int candidate = entry.toInt();
            int queued = 0;
            if (candidate != descriptor && Port(candidate, ::getpeername) == own &&
                ::ioctl(candidate, SIOCOUTQ, &queued) == 0)
                return queued;
        }
        return -1;
    }

    // Bytes that arrived and wait unread.
    int Unread() const
    {
        int count = 0;
        ::ioctl(descriptor, FIONREAD, &count);
        return count;
    }

    // Gone at once with a reset, whatever is on its way.
    void Vanish()
    {
        const linger abrupt{1, 0};
        ::setsockopt(descriptor, SOL_SOCKET, SO_LINGER, &abrupt, sizeof abrupt);
        ::close(std::exchange(descriptor, -1));
    }

private:
    static quint16 Port(int socket, int (*name)(int, sockaddr *, socklen_t *))
    {
        sockaddr_in address{};
        socklen_t length = sizeof address;
        if (name(socket, reinterpret_cast<sockaddr *>(&address), &length) != 0 || address.sin_family != AF_INET)
            return 0;
        return ntohs(address.sin_port);
    }

    int descriptor = -1;
    bool ended = false;
};
