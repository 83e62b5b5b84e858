// A stock Qt spin box alone in a window: what Orca speaks of it proves the chain from the
// toolkit to the screen reader before the program itself is heard; the compositor checks use it
// as another X11 client. With --show-on-input the window shows when a line comes on standard
// input: Qt joins the accessibility bus only after start-up, and a window focused before that is
// never announced, so the screen reader's check waits for it to see the application first.
#include <QApplication>
#include <QSocketNotifier>
#include <QSpinBox>

#include <unistd.h>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QSpinBox box;
    box.setWindowTitle(QStringLiteral("Stock spin box"));
    box.setAccessibleName(QStringLiteral("Stock"));
    box.setRange(0, 99999);
    box.setValue(14201);
    box.setSuffix(QStringLiteral(" kHz"));
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    input.setEnabled(QCoreApplication::arguments().contains(QStringLiteral("--show-on-input")));
    QObject::connect(&input, &QSocketNotifier::activated, &box, [&box, &input] {
        input.setEnabled(false);
        box.show();
    });
    if (!input.isEnabled())
        box.show();
    return QApplication::exec();
}
