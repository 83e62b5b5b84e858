#include <QApplication>
#include <QLabel>

// The floor of the start-up count: a Qt window with one label, nothing else.
int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QLabel label(QStringLiteral("Corvex-Corvin"));
    label.show();
    return QApplication::exec();
}
