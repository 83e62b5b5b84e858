#include "rigctl_connection.h"

#include <QTcpSocket>

#include <exception>

using namespace Qt::Literals::StringLiterals;

TRigctlConnection::TRigctlConnection(QTcpSocket *socket, TRemoteTuning &tuning, QObject *parent)
    : QObject(parent)
    , socket(socket)
    , session(tuning)
{
    socket->setParent(this);
    socket->setReadBufferSize(ReadBufferSize);
    // Replies are small and awaited one by one: no waiting to fill a segment.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, [this] { Serve(); });
    connect(socket, &QTcpSocket::disconnected, this, [this] { Closed(); });
    connect(socket, &QTcpSocket::errorOccurred, this, [this] {
        if (this->socket->state() == QAbstractSocket::UnconnectedState)
            Closed();
    });
}

void TRigctlConnection::Drop()
{
    socket->abort();
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
        AnswerWaitingLines();
    } catch (const std::exception &error) {
        Drop();
        if (OnFailure)
            OnFailure(u"rigctld: "_s + QString::fromUtf8(error.what()));
    }
}

void TRigctlConnection::AnswerWaitingLines()
{
    session.Receive(socket->readAll());
    while (!over) {
        const std::optional<QByteArray> replies = session.AnswerNextLine();
        if (!replies)
            break;
        if (replies->isEmpty())
            continue;
        socket->write(*replies);
        // Sent now, so that what waits is what the client has not read.
        socket->flush();
        if (socket->bytesToWrite() > MaxUnsentReplies)
            Drop();
    }
    if (over)
        return;
    switch (session.End()) {
    case TRigctlSession::Ending::None: break;
    case TRigctlSession::Ending::Quit: socket->disconnectFromHost(); break;
    case TRigctlSession::Ending::LineTooLong: Drop(); break;
    }
}
