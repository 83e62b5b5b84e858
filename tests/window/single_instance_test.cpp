#include "single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// The real program, from a copy in `folder` (its memory file is made beside it, not in the
// build), with its settings there too, without a display unless `environment` gives one.
void StartProgram(QProcess &process, const QString &folder,
                  const QStringList &environment = {u"QT_QPA_PLATFORM=offscreen"_s})
{
    const QString copy = QDir(folder).filePath(u"corvex"_s);
    QFile::copy(QStringLiteral(CORVEX_PROGRAM), copy);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString &unset : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"QT_QPA_PLATFORM"_s})
        variables.remove(unset);
    variables.insert(u"XDG_CONFIG_HOME"_s, folder);
    for (const QString &variable : environment)
        variables.insert(variable.section(u'=', 0, 0), variable.section(u'=', 1));
    process.setProcessEnvironment(variables);
    process.start(copy, {});
}

} // namespace

// Two real programs with one settings folder: the second asks the first to come to the front
// and exits with 0 at once; the first runs on. A lock left by a killed run blocks nothing.
TEST(SingleInstance, ASecondStartRaisesTheFirstAndExits)
{
    QTemporaryDir configuration;
    const QString folder = configuration.filePath(u"Corvex-Corvin"_s);
    QProcess first, second, third;
    StartProgram(first, configuration.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(folder + u"/corvex.lock"_s); }));
    StartProgram(second, configuration.path());
    ASSERT_TRUE(second.waitForFinished(5000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.kill();
    ASSERT_TRUE(first.waitForFinished());
    TSingleInstance next(folder);
    EXPECT_EQ(next.Claim(), TSingleInstance::TClaim::Runs);
    int requests = 0;
    next.Serve([&requests] { ++requests; });
    StartProgram(third, configuration.path());
    ASSERT_TRUE(third.waitForFinished(5000));
    EXPECT_EQ(third.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&requests] { return requests == 1; }));

    // A run told to open another receiver is a program of its own; a second one for that
    // receiver raises it.
    TSingleInstance secondReceiver(folder, u"RX2"_s);
    EXPECT_EQ(secondReceiver.Claim(), TSingleInstance::TClaim::Runs);
    int secondRequests = 0;
    secondReceiver.Serve([&secondRequests] { ++secondRequests; });
    TSingleInstance again(folder, u"RX2"_s);
    EXPECT_EQ(again.Claim(), TSingleInstance::TClaim::Raised);
    EXPECT_TRUE(QTest::qWaitFor([&secondRequests] { return secondRequests == 1; }));
    EXPECT_EQ(requests, 1);
}

// Without a display the program says which variable is missing, in one line, and exits with 1.
TEST(SingleInstance, WithoutADisplayOneLineAndExitStatusOne)
{
    QTemporaryDir configuration;
    QProcess program;
    StartProgram(program, configuration.path(), {});
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitCode(), 1);
    EXPECT_EQ(program.readAllStandardError(),
              "corvex: no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set\n");
}

// A settings folder that cannot hold a lock (read-only, or a file where the folder should be),
// or that holds one left by a killed run and cannot let it be taken over, lets every start run:
// it is not taken for a program already running.
TEST(SingleInstance, AFolderThatCannotHoldALockLetsTheProgramRun)
{
    QTemporaryDir configuration;
    const QString readOnly = configuration.filePath(u"read-only"_s);
    const QString leftLock = configuration.filePath(u"left-lock"_s);
    ASSERT_TRUE(QDir().mkdir(readOnly));
    ASSERT_TRUE(QDir().mkdir(leftLock));
    // A run killed while it held the lock: its process is gone, the lock file stays.
    const pid_t killed = ::fork();
    if (killed == 0) {
        QLockFile held(leftLock + u"/corvex.lock"_s);
        ::_exit(held.tryLock(0) ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(killed, &status, 0), killed);
    ASSERT_EQ(status, 0);
    for (const QString &folder : {readOnly, leftLock})
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    QFile file(configuration.filePath(u"a-file"_s));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // The read-only folders bind only users other than root.
    for (const QString &folder : {readOnly, leftLock, file.fileName() + u"/settings"_s}) {
        if (folder != file.fileName() + u"/settings"_s && QFileInfo(folder).isWritable())
            continue;
        TSingleInstance first(folder);
        EXPECT_EQ(first.Claim(), TSingleInstance::TClaim::Runs) << folder.toStdString();
        TSingleInstance second(folder);
        EXPECT_EQ(second.Claim(), TSingleInstance::TClaim::Runs) << folder.toStdString();
    }
    QFile::setPermissions(leftLock, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
