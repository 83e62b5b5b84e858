#include "single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The real program, headless, with its settings in `configuration`, from a copy there: its
// memory file is made beside it, not in the build.
QProcess *Program(const QString &configuration, QObject *parent)
{
    const QString copy = QDir(configuration).filePath(u"corvex"_s);
    if (!QFile::exists(copy))
        QFile::copy(QStringLiteral(CORVEX_PROGRAM), copy);
    auto *process = new QProcess(parent);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, configuration);
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    process->setProcessEnvironment(environment);
    process->setProgram(copy);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    return process;
}

} // namespace

// Two real programs with one settings folder: the second asks the first to come to the front and
// exits with 0 at once; the first runs on. A lock left by a run that was killed blocks nothing.
TEST(SingleInstance, ASecondStartRaisesTheFirstAndExits)
{
    QTemporaryDir configuration;
    const QString folder = configuration.filePath(u"Corvex-Corvin"_s);
    QObject owner;
    QProcess *first = Program(configuration.path(), &owner);
    first->start();
    ASSERT_TRUE(first->waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(folder + u"/corvex.lock"_s); }));

    QProcess *second = Program(configuration.path(), &owner);
    second->start();
    ASSERT_TRUE(second->waitForFinished(5000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(first->state(), QProcess::Running);

    // This process takes the place of the second: the first answers it too.
    TSingleInstance asking(folder);
    EXPECT_EQ(asking.Claim(), TSingleInstance::TClaim::Raised);
    EXPECT_EQ(asking.HolderProcess(), first->processId());

    first->kill();
    ASSERT_TRUE(first->waitForFinished());
    ASSERT_TRUE(QFile::exists(folder + u"/corvex.lock"_s));
    TSingleInstance next(folder);
    EXPECT_EQ(next.Claim(), TSingleInstance::TClaim::Runs);
    int requests = 0;
    next.Serve([&requests] { ++requests; });
    QProcess *third = Program(configuration.path(), &owner);
    third->start();
    ASSERT_TRUE(third->waitForFinished(5000));
    EXPECT_EQ(third->exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&requests] { return requests == 1; }));
}

// Without a display the program says which variable is missing, in one line, and exits with 1.
TEST(SingleInstance, WithoutADisplayOneLineAndExitStatusOne)
{
    QTemporaryDir configuration;
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &variable : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        environment.remove(variable);
    environment.insert(u"XDG_CONFIG_HOME"_s, configuration.path());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(CORVEX_PROGRAM), {});
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardError(),
              "corvex: no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
    EXPECT_TRUE(program.readAllStandardOutput().isEmpty());
}
