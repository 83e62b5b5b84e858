#include "command_line.h"
#include "ftdi_d2xx.h"
#include "program.h"

#include <QApplication>

#include <cstdio>

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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(u"Corvex-Corvin"_s);
    QCoreApplication::setApplicationVersion(ProgramVersion());
    QGuiApplication::setDesktopFileName(QStringLiteral(CORVEX_APP_ID));
    const TCommandLine line = ParseCommandLine(Arguments(argc, argv));
    if (line.exitCode)
        return Finish(line);
    QApplication application(argc, argv);
    FtdiD2xx port;
    TProgram program(port, QCoreApplication::applicationDirPath(), line.options);
    program.Start();
    return QApplication::exec();
}
