#include "remote_tuning.h"
#include "rigctl_command.h"
#include "rigctl_reply.h"
#include "rigctl_session.h"

#include <cstdint>
#include <cstdlib>

namespace {

// A tuning that stops the run when it is asked for what the server must never ask.
class CheckedTuning : public TRemoteTuning
{
public:
    std::int32_t Frequency() const override { return frequency; }
    void TuneTo(std::int32_t hertz) override
    {
        if (hertz < 50'000 || hertz > 70'000'000)
            std::abort();
        frequency = hertz;
    }
    QString ModeLabel() const override { return mode; }
    int Passband() const override { return passband; }
    void SetMode(const QString &label, int hertz) override
    {
        if (label.isEmpty() || hertz <= 0)
            std::abort();
        mode = label;
        passband = hertz;
    }

    std::int32_t frequency = 14'200'000;
    QString mode = QStringLiteral("USB");
    int passband = 2400;
};

// Every reply ends its last line, and a report carries one of the codes the server uses.
void CheckReply(const TRigctlCommand &command, const QByteArray &reply)
{
    if (!reply.endsWith('\n'))
        std::abort();
    const qsizetype report = reply.lastIndexOf("RPRT ");
    const bool reportExpected = !command.verb || command.separator != 0 || reply.startsWith("RPRT ");
    if (!reportExpected || command.verb == TRigctlVerb::CheckVfo)
        return;
    const QByteArray last = reply.mid(report);
    if (report < 0 || (last != "RPRT 0\n" && last != "RPRT -1\n" && last != "RPRT -11\n"))
        std::abort();
}

// What a session must answer for the whole input: each complete line in turn, up to a quit or a
// line too long, commands read and answered one by one.
QByteArray ExpectedReplies(const QByteArray &input, CheckedTuning &tuning)
{
    QByteArray replies;
    QList<QByteArray> lines = input.split('\n');
    lines.removeLast(); // not ended: never answered
    for (const QByteArray &line : lines) {
        if (line.size() > TRigctlSession::MaxLineLength)
            break;
        for (const TRigctlCommand &command : ReadRigctlLine(line)) {
            const QByteArray reply = AnswerRigctlCommand(command, tuning);
            CheckReply(command, reply);
            replies += reply;
            if (command.verb == TRigctlVerb::Quit)
                return replies;
        }
    }
    return replies;
}

} // namespace

// Any bytes from a client, in two pieces split where the first byte says: the session answers
// exactly what reading and answering line by line gives, and leaves the tuning the same.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    CheckedTuning expectedTuning;
    const QByteArray expected = ExpectedReplies(input, expectedTuning);

    CheckedTuning tuning;
    TRigctlSession session(tuning);
    const qsizetype split = input.isEmpty() ? 0 : static_cast<unsigned char>(input[0]) % (input.size() + 1);
    QByteArray replies;
    for (const QByteArray &piece : {input.left(split), input.mid(split)}) {
        session.Receive(piece);
        while (const std::optional<QByteArray> reply = session.AnswerNextLine())
            replies += *reply;
    }
    if (replies != expected || tuning.frequency != expectedTuning.frequency || tuning.mode != expectedTuning.mode ||
        tuning.passband != expectedTuning.passband)
        std::abort();
    return 0;
}
