#include "Faceplate.h"
#include "error_report.h"
#include "fake_libftdi.h"
#include "ftdi_d2xx.h"
#include "paint_counter.h"
#include "program.h"
#include "program_rig.h"
#include "recording_d2xx.h"
#include "screen_area.h"
#include "sdr.h"
#include "synthesizer_decoder.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace Qt::Literals::StringLiterals;
using Kind = RecordingD2xx::Kind;

namespace {

std::vector<std::uint16_t> Words(const RecordingD2xx &port)
{
    return DecodeWords(port.Writes());
}

} // namespace

TEST(StartUp, MainWindowInitialisesTheSynthesizerWhileBeingCreated)
{
    RecordingD2xx port;
    QTemporaryDir folder;
    TProgram program(port, folder.path());

    // Four words during creation, before anything is shown.
    EXPECT_FALSE(program.Form1.isVisible());
    EXPECT_THAT(Words(port), testing::ElementsAre(0x0120, 0xC000, 0xE000, 0x0020));
    for (const auto &block : port.Writes())
        EXPECT_EQ(block.size(), 52u);
    EXPECT_EQ(program.Form1.info->text(), Tsdr::CreditText());
}

TEST(StartUp, MainWindowFrame)
{
    RecordingD2xx port;
    QTemporaryDir folder;
    TProgram program(port, folder.path());
    TForm1 &form = program.Form1;

    EXPECT_EQ(form.windowTitle(), u"Corvex-Corvin"_s);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(form.font().pixelSize(), 11);

    QLabel *info = form.findChild<QLabel *>(u"info"_s);
    ASSERT_EQ(info, form.info);
    EXPECT_EQ(info->geometry(), QRect(8, 224, 385, 17));
    EXPECT_EQ(info->palette().color(QPalette::WindowText), QColor(Qt::white));

    program.Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_EQ(QApplication::activeWindow(), &form);
    EXPECT_EQ(form.frameGeometry(), QRect(TForm1::DesignedPosition, TForm1::OuterSize));
}

TEST(StartUp, TheFirstFrameIsTheSettledWindow)
{
    RecordingD2xx port;
    QTemporaryDir folder;
    TProgram program(port, folder.path());
    TForm1 &form = program.Form1;
    // Every paint of the window and its controls, from the first on.
    TPaintCounter counter;
    counter.Watch(&form);
    for (QWidget *child : form.findChildren<QWidget *>())
        counter.Watch(child);
    port.ClearCalls();

    program.Start();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    // One paint each: the first frame already showed what the activation settled.
    for (QWidget *child : form.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow()) {
            EXPECT_EQ(counter.AfterWaitingFor(child, 1), 1) << child->objectName().toStdString();
        }
    }
    EXPECT_EQ(form.Mem[0]->Caption(), u"MEM 1"_s);
    EXPECT_EQ(form.Bank[7]->Caption(), u"BANK 8"_s);
    EXPECT_EQ(form.M_VFO->Caption(), u"MEM"_s);
    EXPECT_TRUE(form.x10k->StateOn());
    EXPECT_EQ(form.LEDDisplay1->Value(), 14200.0);
    // And the wire heard one frequency change, at the activation.
    EXPECT_THAT(Words(port), testing::ElementsAre(0x0020, 0x4263, 0x1020, 0x4C1E));

    // Coming back from the editor reloads and resets everything; the window looks the same, so
    // nothing is repainted, though the x10k light goes off and on again on the way.
    counter.paints.clear();
    QEvent fromEditor(QEvent::WindowActivate);
    QApplication::sendEvent(&program.Form2, &fromEditor);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
    QTest::qWait(50);
    EXPECT_EQ(port.Writes().size(), 8u);
    for (const auto &[control, paints] : counter.paints)
        EXPECT_EQ(paints, 0) << control->objectName().toStdString();
}

TEST(StartUp, MemoryEditorIsCreatedHiddenAsAToolWindow)
{
    RecordingD2xx port;
    QTemporaryDir folder;
    TProgram program(port, folder.path());
    program.Start();
    TForm2 &editor = program.Form2;

    EXPECT_FALSE(editor.isVisible());
    EXPECT_EQ(editor.windowTitle(), u"Memories"_s);
    EXPECT_EQ(editor.windowType(), Qt::Tool);
    EXPECT_FALSE(editor.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(editor.windowFlags() & Qt::WindowMinMaxButtonsHint);
    EXPECT_FALSE(editor.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(editor.size(), TForm2::ClientSize);
    EXPECT_EQ(editor.pos(), TForm2::DesignedPosition);

    editor.show();
    editor.close();
    EXPECT_FALSE(editor.isVisible());
}

TEST(StartUp, WithoutADeviceTheStatusLineSaysSoAndNothingElseIsCalled)
{
    RecordingD2xx port;
    QTemporaryDir folder;
    port.Fail(Kind::Open, FT_DEVICE_NOT_FOUND);
    {
        TProgram program(port, folder.path());
        program.Start();
        EXPECT_EQ(program.Form1.info->text(), u"Error USB -Dispositivo no encontrado - Device not found"_s);
    }
    EXPECT_EQ(port.Calls().size(), 1u);
}

TEST(StartUp, OverTheLibftdiLayerWithNoReceiverAttached)
{
    FakeLibftdi library;
    FtdiD2xx port(library);
    QTemporaryDir folder;
    TForm1 form(port, folder.path());
    EXPECT_EQ(form.info->text(), u"Error USB -Dispositivo no encontrado - Device not found"_s);
}

TEST(StartUp, ClosingTheWindowClosesTheDeviceOnce)
{
    RecordingD2xx port;
    QTemporaryDir folder;
    {
        TProgram program(port, folder.path());
        program.Start();
        program.Form1.close();
    }
    EXPECT_EQ(port.Count(Kind::Close), 1);
    EXPECT_EQ(port.Calls().back().kind, Kind::Close);
}

TEST(StartUp, EachDriverMessageReplacesTheStatusLine)
{
    RecordingD2xx port;
    QTemporaryDir folder;
    TForm1 form(port, folder.path());
    form.escribir_memo(form.sdr, u"one"_s);
    form.escribir_memo(form.sdr, u"two"_s);
    EXPECT_EQ(form.info->text(), u"two"_s);
}

TEST(ErrorReportTest, GuardShowsTheMessageAndTheProgramGoesOn)
{
    QStringList shown;
    const ErrorSink previous = SetErrorSink([&](const QString &message) { shown << message; });
    bool after = false;
    RunGuarded([] { throw std::overflow_error("Integer overflow"); });
    Guarded([] { throw std::runtime_error("Unable to write to /tmp/x/memos.ini"); })();
    Guarded([&] { after = true; })();
    SetErrorSink(previous);

    EXPECT_EQ(shown, (QStringList{u"Integer overflow"_s, u"Unable to write to /tmp/x/memos.ini"_s}));
    EXPECT_TRUE(after);
}

// Each window opens at its designed place where that lies within the work area, and is otherwise
// moved in by the smallest shift, never resized: on an 800 x 480 screen with a panel at the top,
// and on 1280 x 800 at scale factor 2 (640 x 400), where the editor is too tall and keeps its top.
// A window the user moves is left there.
using PlacementTest = MainWindowRig;

TEST_F(PlacementTest, BothWindowsKeepToTheWorkArea)
{
    const QSize editor = TForm2::ClientSize + QSize(4, 4); // the offscreen frame: 2 pixels
    struct Case
    {
        QRect screen, workArea;
        QPoint main, editor; // where the frames stand
    };
    const QPoint rightBottom(800 - editor.width(), 480 - editor.height());
    for (const Case &c : {Case{LargeScreen, LargeScreen, TForm1::DesignedPosition, TForm2::DesignedPosition},
                          Case{{0, 0, 800, 480}, {0, 24, 800, 456}, {395, 110}, rightBottom},
                          Case{{0, 0, 640, 400}, {0, 0, 640, 400}, {235, 110}, {640 - editor.width(), 0}}}) {
        SetScreenArea(c.screen, c.workArea);
        Start();
        Click(Form1().LMW);
        EXPECT_EQ(Form1().frameGeometry(), QRect(c.main, TForm1::OuterSize));
        EXPECT_EQ(Form2().frameGeometry(), QRect(c.editor, editor));

        Form1().move(c.workArea.right() - 100, c.workArea.top());
        QCoreApplication::processEvents();
        EXPECT_EQ(Form1().pos(), QPoint(c.workArea.right() - 100, c.workArea.top()));
        program.reset();
    }
    SetScreenArea(LargeScreen, LargeScreen);
}
