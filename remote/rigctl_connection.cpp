#include "rigctl_connection.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <exception>

using namespace Qt::Literals::StringLiterals;

namespace {

// A failed receive or send that only means "not now": the socket is fine.
bool OnlyNotNow()
{
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
}

} // namespace

TRigctlConnection::TRigctlConnection(qintptr descriptor, TRemoteTuning &tuning, QObject *parent)
    : QObject(parent)
    , descriptor(descriptor)
    , readable(descriptor, QSocketNotifier::Read)
    , writable(descriptor, QSocketNotifier::Write)
    , session(tuning)
{
    // Replies are small and awaited one by one: no waiting to fill a segment.
    const int on = 1;
    ::setsockopt(static_cast<int>(descriptor), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    // Left to itself the kernel grows a send buffer to megabytes (on loopback at once), which a
    // client that does not read would then pin, for each of the server's clients.
    ::setsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_SNDBUF, &SendBufferSize, sizeof SendBufferSize);
    writable.setEnabled(false);
    connect(&readable, &QSocketNotifier::activated, this, [this] { Serve(); });
    connect(&writable, &QSocketNotifier::activated, this, [this] { SendUnsent(); });
}

TRigctlConnection::~TRigctlConnection()
{
    readable.setEnabled(false);
    writable.setEnabled(false);
    ::close(static_cast<int>(descriptor));
}

void TRigctlConnection::Drop()
{
    readable.setEnabled(false);
    writable.setEnabled(false);
    unsent.clear();
    // Both directions end now; replies not yet sent are thrown away.
    ::shutdown(static_cast<int>(descriptor), SHUT_RDWR);
    Closed();
}

void TRigctlConnection::Closed()
{
    if (over)
        return;
    over = true;
    if (OnClosed)
        OnClosed(*this);
}

// Nothing a client sends may raise into the event loop: a failure drops that client only.
void TRigctlConnection::Serve()
{
    try {
        Receive();
    } catch (const std::exception &error) {
        Drop();
        if (OnFailure)
            OnFailure(u"rigctld: "_s + QString::fromUtf8(error.what()));
    }
}

void TRigctlConnection::Receive()
{
    char buffer[ReadBufferSize];
    const ssize_t received = ::recv(static_cast<int>(descriptor), buffer, sizeof buffer, MSG_DONTWAIT);
    if (received == 0)
        return Drop();
    if (received < 0) {
        if (!OnlyNotNow())
            Drop();
        return;
    }
    session.Receive(QByteArrayView(buffer, static_cast<qsizetype>(received)));
    AnswerWaitingLines();
}

void TRigctlConnection::AnswerWaitingLines()
{
    while (!over) {
        const std::optional<QByteArray> replies = session.AnswerNextLine();
        if (!replies)
            break;
        if (!replies->isEmpty())
            Send(*replies);
    }
    if (over)
        return;
    switch (session.End()) {
    case TRigctlSession::Ending::None: break;
    case TRigctlSession::Ending::Quit:
        quitting = true;
        readable.setEnabled(false);
        if (unsent.isEmpty())
            Drop();
        break;
    case TRigctlSession::Ending::LineTooLong: Drop(); break;
    }
}

void TRigctlConnection::Send(const QByteArray &bytes)
{
    if (!unsent.isEmpty()) {
        unsent.append(bytes);
    } else {
        const ssize_t sent = ::send(static_cast<int>(descriptor), bytes.constData(), static_cast<size_t>(bytes.size()),
                                    MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent < 0 && !OnlyNotNow())
            return Drop();
        unsent = bytes.mid(sent < 0 ? 0 : sent);
        if (!unsent.isEmpty())
            writable.setEnabled(true);
    }
    if (unsent.size() > MaxUnsentReplies)
        Drop();
}

void TRigctlConnection::SendUnsent()
{
    const ssize_t sent = ::send(static_cast<int>(descriptor), unsent.constData(), static_cast<size_t>(unsent.size()),
                                MSG_DONTWAIT | MSG_NOSIGNAL);
    if (sent < 0) {
        if (!OnlyNotNow())
            Drop();
        return;
    }
    unsent.remove(0, sent);
    if (!unsent.isEmpty())
        return;
    writable.setEnabled(false);
    if (quitting)
        Drop();
}
