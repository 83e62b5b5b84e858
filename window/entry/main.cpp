#include "app_icon.h"
#include "command_line.h"
#include "ftdi_census.h"
#include "ftdi_d2xx.h"
#include "list_commands.h"
#include "program.h"
#include "single_instance.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList Arguments(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

int Finish(const TCommandLine &line)
{
    std::fputs(line.output.toLocal8Bit().constData(), stdout);
    std::fputs(line.error.toLocal8Bit().constData(), stderr);
    return *line.exitCode;
}

int Fail(const QString &reason)
{
    std::fputs((u"corvex: "_s + reason + u'\n').toLocal8Bit().constData(), stderr);
    return EXIT_FAILURE;
}

// While the toolkit starts, its messages are held back: when it cannot start (no display server
// answers, no platform plugin loads) it would abort with a text that blames the installation;
// the program says instead, in one line, what the toolkit met first, and exits.
QStringList startUpMessages;

void HoldStartUpMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtFatalMsg) {
        startUpMessages << message;
        return;
    }
    std::_Exit(Fail(u"cannot show the window: "_s + startUpMessages.value(0, message.section(u'\n', 0, 0))));
}

// Runs an action once the window has painted its first frame, which so does not wait for it.
class TAfterFirstFrame : public QObject
{
public:
    TAfterFirstFrame(QWidget &window, std::function<void()> action)
        : QObject(&window)
        , action(std::move(action))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, parent(), action);
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> action;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(u"Corvex-Corvin"_s);
    QCoreApplication::setApplicationVersion(ProgramVersion());
    QGuiApplication::setDesktopFileName(QStringLiteral(CORVEX_APP_ID));
    const TCommandLine line = ParseCommandLine(Arguments(argc, argv));
    if (line.exitCode)
        return Finish(line);
    if (line.listCommand) {
        const QCoreApplication application(argc, argv);
        QString output, error;
        const int status = RunListCommand(*line.listCommand, QCoreApplication::applicationDirPath(),
                                          TStationStore::DefaultFolder(), output, error);
        std::fputs(output.toLocal8Bit().constData(), stdout);
        std::fputs(error.toLocal8Bit().constData(), stderr);
        return status;
    }
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (const QString missing = MissingDisplay(line, environment); !missing.isEmpty())
        return Fail(missing);
    if (const QString platform = DefaultPlatform(line, environment); !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform.toLatin1());

    TSingleInstance instance(QFileInfo(TProgramSettings::DefaultPath()).absolutePath(), line.options.receiver.value_or(QString()));
    switch (instance.Claim()) {
    case TSingleInstance::TClaim::Runs: break;
    case TSingleInstance::TClaim::Raised: return EXIT_SUCCESS;
    case TSingleInstance::TClaim::Unanswered:
        return Fail(u"already running as process %1, which does not answer"_s.arg(instance.HolderProcess()));
    }

    const QtMessageHandler previous = qInstallMessageHandler(HoldStartUpMessage);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    for (const QString &message : std::exchange(startUpMessages, {}))
        qWarning("%s", qUtf8Printable(message));

    FtdiD2xx port;
    const TSystemFtdiCensus census;
    TProgram program(port, QCoreApplication::applicationDirPath(), line.options, TProgramSettings::DefaultPath(), &census);
    instance.Serve([&program] { program.BringToFront(); });
    new TAfterFirstFrame(program.Form1, [] { QApplication::setWindowIcon(AppIcon()); });
    program.Start();
    return QApplication::exec();
}
