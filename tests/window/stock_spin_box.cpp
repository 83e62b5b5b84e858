// A stock Qt spin box alone in a window: what Orca speaks of it proves the chain from the
// toolkit to the screen reader before the program itself is heard.
#include <QApplication>
#include <QSpinBox>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QSpinBox box;
    box.setWindowTitle(QStringLiteral("Stock spin box"));
    box.setAccessibleName(QStringLiteral("Stock"));
    box.setRange(0, 99999);
    box.setValue(14201);
    box.setSuffix(QStringLiteral(" kHz"));
    box.show();
    return QApplication::exec();
}
