#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

class TRemoteTuning;

// One client's conversation, without the socket: the bytes it sent in, the replies out, line by
// line, as it asked for them.
class TRigctlSession
{
public:
    // The longest line taken; a client that sends more without a line end is dropped.
    static constexpr qsizetype MaxLineLength = 4096;

    enum class Ending { None, Quit, LineTooLong };

    explicit TRigctlSession(TRemoteTuning &tuning);

    // Adds what the client sent to what waits to be answered.
    void Receive(QByteArrayView bytes);
    // The replies to the commands of the next whole line, in one piece (empty for a blank line);
    // nothing when no whole line waits or the conversation has ended.
    std::optional<QByteArray> AnswerNextLine();
    // Why the conversation ended: the client quit, or sent a line too long to be a command.
    Ending End() const { return ending; }

private:
    TRemoteTuning &tuning;
    QByteArray received;
    qsizetype answered = 0; // bytes of `received` already answered
    Ending ending = Ending::None;
};
