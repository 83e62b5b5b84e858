#include "ftdi_d2xx.h"
#include "program.h"

#include <QApplication>

using namespace Qt::Literals::StringLiterals;

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Corvex-Corvin"_s);
    FtdiD2xx port;
    TProgram program(port, QCoreApplication::applicationDirPath());
    program.Start();
    return QApplication::exec();
}
