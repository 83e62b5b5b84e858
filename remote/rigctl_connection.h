#pragma once

#include "rigctl_session.h"

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <functional>

// One client of the server: its bytes through a session, each line's replies back in one send.
// It drops the client that sends a line too long or leaves more than MaxUnsentReplies unread.
//
// It works on the connected descriptor itself rather than through QTcpSocket: a request then
// costs one wake-up, one receive and one send, where QTcpSocket switches its notifiers off and
// on around every read and so wakes the event loop twice more.
class TRigctlConnection : public QObject
{
public:
    static constexpr qint64 MaxUnsentReplies = 64 * 1024;
    // The kernel's share of a client's unread replies (it doubles the size for its own use).
    static constexpr int SendBufferSize = 32 * 1024;
    // What is read from the socket at a time: a flood never fills memory.
    static constexpr qint64 ReadBufferSize = 64 * 1024;

    // Takes the connected descriptor over; it is closed with the connection.
    TRigctlConnection(qintptr descriptor, TRemoteTuning &tuning, QObject *parent);
    ~TRigctlConnection() override;

    // Ends the connection at once, discarding what was not sent.
    void Drop();

    // Told once, when the connection is over, whoever ended it.
    std::function<void(TRigctlConnection &closed)> OnClosed;
    // Told when answering failed; the client has been dropped.
    std::function<void(const QString &text)> OnFailure;

private:
    void Serve();
    void Receive();
    void AnswerWaitingLines();
    void Send(const QByteArray &bytes);
    void SendUnsent();
    void Closed();

    qintptr descriptor;
    QSocketNotifier readable;
    QSocketNotifier writable;
    TRigctlSession session;
    QByteArray unsent;
    // After quit: the replies still go out, then the connection ends.
    bool quitting = false;
    bool over = false;
};
