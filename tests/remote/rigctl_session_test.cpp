#include "fake_tuning.h"
#include "rigctl_session.h"

#include <gtest/gtest.h>

namespace {

using Ending = TRigctlSession::Ending;

TEST(Session, AnswersOnlyWholeLinesWhateverPiecesTheyArriveIn)
{
    FakeTuning tuning;
    TRigctlSession session(tuning);
    session.Receive("F 70");
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    EXPECT_TRUE(tuning.tunedTo.empty());
    session.Receive("74000");
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    session.Receive("\n+");
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("RPRT 0\n"));
    EXPECT_EQ(tuning.tunedTo, std::vector<std::int32_t>{7'074'000});
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    session.Receive("f\n");
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("get_freq:\nFrequency: 7074000\nRPRT 0\n"));
    EXPECT_EQ(session.End(), Ending::None);
}

TEST(Session, EachLineIsAnsweredOnItsOwnInOrder)
{
    FakeTuning tuning;
    TRigctlSession session(tuning);
    session.Receive("f\n\nF 7074000 f\nX\nm\n");
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("14200000\n"));
    EXPECT_EQ(session.AnswerNextLine(), QByteArray(""));
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("RPRT 0\n7074000\n"));
    // An unknown command spoils its own line only.
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("RPRT -11\n"));
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("USB\n2400\n"));
    EXPECT_FALSE(session.AnswerNextLine().has_value());
}

TEST(Session, QuitIsAnsweredThenNothingMore)
{
    FakeTuning tuning;
    TRigctlSession session(tuning);
    session.Receive("f\nq F 7074000\nf\n");
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("14200000\n"));
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("RPRT 0\n"));
    EXPECT_EQ(session.End(), Ending::Quit);
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    session.Receive("f\n");
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    EXPECT_TRUE(tuning.tunedTo.empty());
}

TEST(Session, TheLongestLineIsStillAnswered)
{
    FakeTuning tuning;
    TRigctlSession session(tuning);
    const QByteArray longest = "f" + QByteArray(TRigctlSession::MaxLineLength - 1, ' ');
    session.Receive(longest);
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    EXPECT_EQ(session.End(), Ending::None);
    session.Receive("\n");
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("14200000\n"));
    EXPECT_EQ(session.End(), Ending::None);
}

TEST(Session, MoreThanTheLongestLineWithoutALineEndEndsIt)
{
    FakeTuning tuning;
    TRigctlSession session(tuning);
    session.Receive("f\n" + QByteArray(TRigctlSession::MaxLineLength, 'f'));
    EXPECT_EQ(session.AnswerNextLine(), QByteArray("14200000\n"));
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    EXPECT_EQ(session.End(), Ending::None);
    session.Receive("f");
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    EXPECT_EQ(session.End(), Ending::LineTooLong);
    session.Receive("\n");
    EXPECT_FALSE(session.AnswerNextLine().has_value());
}

TEST(Session, AWholeLineTooLongEndsItUnanswered)
{
    FakeTuning tuning;
    TRigctlSession session(tuning);
    session.Receive("F 7074000" + QByteArray(TRigctlSession::MaxLineLength, ' ') + "\nf\n");
    EXPECT_FALSE(session.AnswerNextLine().has_value());
    EXPECT_EQ(session.End(), Ending::LineTooLong);
    EXPECT_TRUE(tuning.tunedTo.empty());
}

} // namespace
