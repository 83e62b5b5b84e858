#pragma once

#include "rigctl_session.h"

#include <QObject>

#include <functional>

class QTcpSocket;

// One client of the server: its bytes through a session, each line's replies back in one write.
// It drops the client that sends a line too long or leaves more than MaxUnsentReplies unread.
class TRigctlConnection : public QObject
{
public:
    static constexpr qint64 MaxUnsentReplies = 64 * 1024;
    // What is read from the socket at a time: a flood never fills memory.
    static constexpr qint64 ReadBufferSize = 64 * 1024;

    // Takes the socket over.
    TRigctlConnection(QTcpSocket *socket, TRemoteTuning &tuning, QObject *parent);

    // Ends the connection at once, discarding what was not sent.
    void Drop();

    // Told once, when the connection is over, whoever ended it.
    std::function<void(TRigctlConnection &closed)> OnClosed;
    // Told when answering failed; the client has been dropped.
    std::function<void(const QString &text)> OnFailure;

private:
    void Serve();
    void AnswerWaitingLines();
    void Closed();

    QTcpSocket *socket;
    TRigctlSession session;
    bool over = false;
};
