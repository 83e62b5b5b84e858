#include "Faceplate.h"
#include "accepting_d2xx.h"
#include "error_report.h"
#include "program.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

// A long session through the real windows: 100,000 frequency changes by wheel and by UP/DOWN,
// then 1,000 open, edit and OK cycles of the memory editor. It fails when a change does not hand
// its 208 bytes to the port, when any error is reported, or when the resident memory grows by
// more than 2 MB after warm-up.
namespace {

long ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

int failures = 0;

void Check(bool ok, const char *what)
{
    if (!ok && failures++ < 10)
        std::fprintf(stderr, "soak: %s\n", what);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says for every activation that it cannot raise windows.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &message) {
        if (type != QtWarningMsg || !message.contains(QStringLiteral("does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication application(argc, argv);
    QTemporaryDir folder;
    AcceptingD2xx port;
    int errors = 0;
    SetErrorSink([&](const QString &message) {
        ++errors;
        std::fprintf(stderr, "soak: error \"%s\"\n", qPrintable(message));
    });
    TProgram program(port, folder.path(), {}, folder.filePath(QStringLiteral("settings.ini")));
    program.Start();
    Check(QTest::qWaitForWindowActive(&program.Form1), "the main window did not come up active");
    TForm1 &form = program.Form1;

    const std::uint64_t bytesBeforeTuning = port.bytes;
    constexpr int Changes = 100'000;
    constexpr int WarmUpChanges = 10'000;
    long tuningBaseline = 0;
    for (int change = 0; change < Changes; ++change) {
        if (change == WarmUpChanges)
            tuningBaseline = ResidentKilobytes();
        const std::uint64_t before = port.bytes;
        switch (change % 4) {
        case 0:
        case 1: {
            QWidget *over = form.Mem[change % 15];
            QWheelEvent notch(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, change % 4 == 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(over, &notch);
            break;
        }
        case 2: QTest::mouseClick(form.UP, Qt::LeftButton); break;
        case 3: QTest::mouseClick(form.DOWN, Qt::LeftButton); break;
        }
        Check(port.bytes - before == 208, "a frequency change did not hand over 208 bytes");
        if (change % 1000 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const long tuningEnd = ResidentKilobytes();
    const std::uint64_t tuningBytes = port.bytes - bytesBeforeTuning;

    constexpr int Cycles = 1'000;
    constexpr int WarmUpCycles = 100;
    long editorBaseline = 0;
    for (int cycle = 0; cycle < Cycles; ++cycle) {
        if (cycle == WarmUpCycles)
            editorBaseline = ResidentKilobytes();
        QTest::mouseClick(form.LMW, Qt::LeftButton);
        QCoreApplication::processEvents();
        Check(program.Form2.isVisible(), "the editor did not open");
        program.Form2.Tags[cycle % 15]->setText(QStringLiteral("cycle %1").arg(cycle));
        QTest::mouseClick(program.Form2.ok_btn, Qt::LeftButton);
        QCoreApplication::processEvents();
        Check(!program.Form2.isVisible(), "OK did not close the editor");
        Check(form.Mem[cycle % 15]->Caption() == QStringLiteral("cycle %1").arg(cycle),
              "the main window did not show the saved tag");
    }
    const long editorEnd = ResidentKilobytes();

    std::printf("frequency changes: %d, bytes handed over: %llu (%.1f per change)\n", Changes,
                static_cast<unsigned long long>(tuningBytes), static_cast<double>(tuningBytes) / Changes);
    std::printf("resident memory while tuning: %ld kB after warm-up, %ld kB at the end (%+ld kB)\n", tuningBaseline,
                tuningEnd, tuningEnd - tuningBaseline);
    std::printf("resident memory over editor cycles: %ld kB after warm-up, %ld kB at the end (%+ld kB)\n",
                editorBaseline, editorEnd, editorEnd - editorBaseline);
    std::printf("errors reported: %d, failed checks: %d\n", errors, failures);
    Check(tuningEnd - tuningBaseline <= 2048, "resident memory grew by more than 2 MB while tuning");
    Check(editorEnd - editorBaseline <= 2048, "resident memory grew by more than 2 MB over the editor cycles");
    return failures == 0 && errors == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
