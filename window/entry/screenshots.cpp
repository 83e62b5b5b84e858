#include "Faceplate.h"
#include "accepting_d2xx.h"
#include "program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>

// Renders the main window in VFO and in memory mode and the memory editor into PNG files, for
// the README, with a stand-in receiver.
namespace {

const char *const SampleMemories = "[bank1]\nbank_name1=Broadcast\nmem1=6070000\nTag_mem1=CFRX\nmem2=9580000\n"
                                   "Tag_mem2=R.Aust\nmem3=15400000\nTag_mem3=BBC\n"
                                   "[bank2]\nbank_name2=Amateur\n[bank3]\nbank_name3=Utility\n";

bool Save(QWidget &window, const QString &path)
{
    QCoreApplication::processEvents();
    const bool saved = window.grab().toImage().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString target = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    QDir().mkpath(target);

    QTemporaryDir folder;
    QFile memories(folder.filePath(QStringLiteral("memos.ini")));
    if (!memories.open(QIODevice::WriteOnly) || memories.write(SampleMemories) < 0)
        return 1;
    memories.close();

    AcceptingD2xx receiver;
    TProgram program(receiver, folder.path(), {}, folder.filePath(QStringLiteral("settings.ini")));
    program.Start();
    QCoreApplication::processEvents();
    bool ok = Save(program.Form1, target + QStringLiteral("/main-window-vfo.png"));

    program.Form1.M_VFOClick();
    program.Form1.MemoryClick(3);
    ok = Save(program.Form1, target + QStringLiteral("/main-window-memory.png")) && ok;

    program.Form1.LMWClick();
    ok = Save(program.Form2, target + QStringLiteral("/memory-editor.png")) && ok;
    return ok ? 0 : 1;
}
