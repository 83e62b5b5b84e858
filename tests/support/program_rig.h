#pragma once

#include "Faceplate.h"
#include "error_report.h"
#include "program.h"
#include "qt_printers.h"
#include "recording_d2xx.h"
#include "sdr.h"
#include "status_line.h"
#include "synthesizer_decoder.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <qpa/qwindowsysteminterface.h>

#include <gtest/gtest.h>

#include <optional>

// The whole program over the recording D2XX fake, with its memory file in a temporary program
// folder and errors recorded instead of shown.
class MainWindowRig : public testing::Test
{
protected:
    void SetUp() override
    {
        previousSink = SetErrorSink([this](const QString &message) { errors << message; });
    }
    void TearDown() override
    {
        program.reset();
        SetErrorSink(previousSink);
    }

    QString MemoryFilePath() const { return folder.filePath(QStringLiteral("memos.ini")); }
    void WriteMemoryFile(const QByteArray &text)
    {
        QFile file(MemoryFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    QByteArray ReadMemoryFile() const
    {
        QFile file(MemoryFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Starts the program: the main window comes up active and runs its activation.
    void Start()
    {
        program.emplace(port, folder.path());
        program->Start();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Form1()));
        port.ClearCalls();
    }
    // The window the program's focus is in. A tool window that the main window owns counts as
    // active whenever the main window is (QWidget::isActiveWindow), so the editor is waited for
    // by this instead.
    static bool WaitUntilActive(QWidget &window)
    {
        return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; });
    }
    // The focus passes to `window`, or to another application (nullptr), as the window system
    // tells it: the activation reaches the program as it does from a desktop.
    static void FocusWindow(QWidget *window)
    {
        QWindow *handle = window ? window->windowHandle() : nullptr;
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
        QWindowSystemInterface::handleFocusWindowChanged<QWindowSystemInterface::SynchronousDelivery>(
            handle, Qt::ActiveWindowFocusReason);
#else
        QWindowSystemInterface::handleWindowActivated<QWindowSystemInterface::SynchronousDelivery>(
            handle, Qt::ActiveWindowFocusReason);
#endif
        QCoreApplication::processEvents();
    }
    TForm1 &Form1() { return program->Form1; }
    TForm2 &Form2() { return program->Form2; }

    void Click(QWidget *control) { QTest::mouseClick(control, Qt::LeftButton); }
    void Wheel(QWidget *over, int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWheelEvent event(QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &event);
    }

    // The frequency the synthesizer was last programmed to, from the words on the wire since
    // the last ClearCalls; nothing when no frequency was sent.
    std::optional<std::int32_t> SentFrequency() const
    {
        const std::vector<std::uint16_t> words = DecodeWords(port.Writes());
        if (words.size() < 4)
            return std::nullopt;
        const std::size_t n = words.size();
        EXPECT_EQ(words[n - 4], 0x0020);
        EXPECT_EQ(words[n - 2], 0x1020);
        const std::uint32_t word = ((words[n - 1] & 0x3FFFu) << 14) | (words[n - 3] & 0x3FFFu);
        // Tuning words rise with the frequency: the one that gives this word lies by the estimate.
        const auto estimate = static_cast<std::int32_t>(word * 75e6 / 268435455.0);
        for (std::int32_t f = estimate - 2; f <= estimate + 2; ++f)
            if (f >= Tsdr::LowestFrequency && f <= Tsdr::HighestFrequency && ExactTuningWord(f) == word)
                return f;
        return std::nullopt;
    }

    // The step lights that are on, by caption.
    QStringList LitSteps()
    {
        QStringList lit;
        for (TLEDButton *b : {Form1().x10m, Form1().x1M, Form1().x100k, Form1().x10k, Form1().x1k, Form1().X100H,
                              Form1().X10H, Form1().X1H})
            if (b->StateOn())
                lit << b->objectName();
        return lit;
    }
    QStringList LitMemoriesAndBanks()
    {
        QStringList lit;
        for (TLEDButton *b : Form1().Mem)
            if (b->StateOn())
                lit << b->objectName();
        for (TLEDButton *b : Form1().Bank)
            if (b->StateOn())
                lit << b->objectName();
        return lit;
    }

    RecordingD2xx port;
    QTemporaryDir folder;
    std::optional<TProgram> program;
    QStringList errors;
    ErrorSink previousSink;
};
