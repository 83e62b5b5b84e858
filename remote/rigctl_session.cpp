#include "rigctl_session.h"

#include "rigctl_command.h"
#include "rigctl_reply.h"

TRigctlSession::TRigctlSession(TRemoteTuning &tuning)
    : tuning(tuning)
{
}

void TRigctlSession::Receive(QByteArrayView bytes)
{
    if (ending != Ending::None)
        return;
    received.remove(0, answered);
    answered = 0;
    received.append(bytes);
}

std::optional<QByteArray> TRigctlSession::AnswerNextLine()
{
    if (ending != Ending::None)
        return std::nullopt;
    const qsizetype lineEnd = received.indexOf('\n', answered);
    const qsizetype length = (lineEnd < 0 ? received.size() : lineEnd) - answered;
    if (length > MaxLineLength) {
        ending = Ending::LineTooLong;
        return std::nullopt;
    }
    if (lineEnd < 0)
        return std::nullopt;
    const QByteArrayView line = QByteArrayView(received).sliced(answered, length);
    answered = lineEnd + 1;
    QByteArray replies;
    for (const TRigctlCommand &command : ReadRigctlLine(line)) {
        replies += AnswerRigctlCommand(command, tuning);
        if (command.verb == TRigctlVerb::Quit) {
            ending = Ending::Quit;
            break;
        }
    }
    return replies;
}
