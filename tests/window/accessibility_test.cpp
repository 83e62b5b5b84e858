#include "keyboard_tuning.h"
#include "program_rig.h"
#include "spoken_tuning.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QLabel>

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

using namespace Qt::Literals::StringLiterals;

namespace {

// What assistive tools are told, as they are told it.
struct Announcement
{
    QObject *object;
    QAccessible::Event type;
    QVariant value;
    QAccessible::State changed;
};
std::vector<Announcement> announcements;

// A value change with its value, a state change with the states that changed, a notification
// that shows with its text.
void Record(QAccessibleEvent *event)
{
    QVariant value;
    QAccessible::State changed;
    if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent *>(event)->value();
    else if (event->type() == QAccessible::StateChanged)
        changed = static_cast<QAccessibleStateChangeEvent *>(event)->changedStates();
    else if (event->type() == QAccessible::ObjectShow)
        value = event->accessibleInterface()->text(QAccessible::Name);
    announcements.push_back({event->object(), event->type(), value, changed});
}

class AccessibilityTest : public MainWindowRig
{
protected:
    void SetUp() override
    {
        MainWindowRig::SetUp();
        QAccessible::installUpdateHandler(Record);
        // What a screen reader attaching does: the layer then sends its events.
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
        announcements.clear();
    }
    void TearDown() override
    {
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(false);
        QAccessible::installUpdateHandler(nullptr);
        MainWindowRig::TearDown();
    }
    static QAccessibleInterface *Of(QObject *object) { return QAccessible::queryAccessibleInterface(object); }
    static QStringList Announced(QObject *object, QAccessible::Event type)
    {
        QStringList values;
        for (const Announcement &a : announcements)
            if (a.object == object && a.type == type)
                values << a.value.toString();
        return values;
    }
    // What the readout said, and what the notification that speaks for it, once changes settled.
    QStringList ReadoutSaid() { return Announced(Form1().LEDDisplay1, QAccessible::ValueChanged); }
    QStringList Notified() { return Announced(Form1().announcer, QAccessible::ObjectShow); }
    static void Settle() { QTest::qWait(static_cast<int>(TSpokenTuning::SettleTime.count() * 2)); }
};

} // namespace

// Steps, memories and banks are each one choice of a group, the others push buttons; all are
// named by their caption, a step by what it is, and all press as a click does.
TEST_F(AccessibilityTest, ButtonsAreRadioButtonsOrPushButtonsWithTheirState)
{
    WriteMemoryFile("[bank1]\nbank_name1=Ham\nTag_mem2=R&TTY\n");
    Start();
    struct Expected
    {
        QWidget *control;
        QAccessible::Role role;
        QString name;
        bool checked;
    };
    for (const Expected &e : std::vector<Expected>{{Form1().x10k, QAccessible::RadioButton, u"Step 10 kHz"_s, true},
                                                   {Form1().x1k, QAccessible::RadioButton, u"Step 1 kHz"_s, false},
                                                   {Form1().x10m, QAccessible::RadioButton, u"Step 10 MHz"_s, false},
                                                   {Form1().X1H, QAccessible::RadioButton, u"Step 1 Hz"_s, false},
                                                   {Form1().Mem[1], QAccessible::RadioButton, u"RTTY: no frequency"_s, false},
                                                   {Form1().Bank[0], QAccessible::RadioButton, u"Ham"_s, false},
                                                   {Form1().M_VFO, QAccessible::Button, u"MEM"_s, true},
                                                   {Form1().LMW, QAccessible::Button, u"MW"_s, false},
                                                   {Form1().UP, QAccessible::Button, u"UP"_s, false}}) {
        QAccessibleInterface *button = Of(e.control);
        const std::string name = e.control->objectName().toStdString();
        EXPECT_EQ(button->role(), e.role) << name;
        EXPECT_EQ(button->text(QAccessible::Name), e.name) << name;
        EXPECT_EQ(button->state().checkable, e.role == QAccessible::RadioButton) << name;
        EXPECT_EQ(button->state().checked, e.checked) << name;
        ASSERT_NE(button->actionInterface(), nullptr) << name;
        EXPECT_EQ(button->actionInterface()->actionNames().front(), QAccessibleActionInterface::pressAction()) << name;
    }
    EXPECT_EQ(Of(Form1().M_VFO)->text(QAccessible::Description), u"VFO mode. MEM switches to the memories."_s);
    EXPECT_EQ(Of(Form1().Bank[0])->text(QAccessible::Description), u"In VFO mode: MEM switches to the memories."_s);
    EXPECT_EQ(Of(Form1().LMW)->text(QAccessible::Description), u"Opens the memory editor."_s);

    // A button held down is pressed until it is let go.
    QTest::mousePress(Form1().x1k, Qt::LeftButton);
    EXPECT_TRUE(Of(Form1().x1k)->state().pressed);
    QTest::mouseRelease(Form1().x1k, Qt::LeftButton);
    EXPECT_FALSE(Of(Form1().x1k)->state().pressed);
}

// A press through the layer is a click. What it changes is told as it is: a light as a change of
// the checked state, a new caption as a new name, the mode in the toggle's description.
TEST_F(AccessibilityTest, APressThroughTheLayerIsAClickAndItsChangesAreTold)
{
    Start();
    Of(Form1().UP)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Form1().frecuencia, 14'210'000);
    EXPECT_EQ(SentFrequency(), 14'210'000);
    announcements.clear();
    Of(Form1().x1k)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Form1().paso, 1'000);
    EXPECT_TRUE(Of(Form1().x1k)->state().checked);
    EXPECT_FALSE(Of(Form1().x10k)->state().checked);
    QList<QObject *> lightsTold;
    for (const Announcement &a : announcements)
        if (a.type == QAccessible::StateChanged && a.changed.checked && !a.changed.pressed)
            lightsTold << a.object;
    EXPECT_EQ(lightsTold, (QList<QObject *>{Form1().x10k, Form1().x1k}));
    EXPECT_EQ(Of(Form1().LEDDisplay1)->text(QAccessible::Description), u"Step 1 kHz"_s);

    announcements.clear();
    Of(Form1().M_VFO)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(Of(Form1().M_VFO)->text(QAccessible::Name), u"VFO"_s);
    EXPECT_EQ(Of(Form1().M_VFO)->text(QAccessible::Description), u"Memory mode. VFO switches to the VFO."_s);
    EXPECT_EQ(Announced(Form1().M_VFO, QAccessible::NameChanged).size(), 1);
    EXPECT_EQ(Announced(Form1().M_VFO, QAccessible::DescriptionChanged).size(), 1);
    EXPECT_EQ(Of(Form1().Bank[0])->text(QAccessible::Description), QString());
}

// The readout says the frequency, or the entry being typed, once its changes settle: a burst is
// one value. Said while another control has the focus, it is announced as a notification too.
TEST_F(AccessibilityTest, TheReadoutSpeaksTheSettledFrequency)
{
    Start();
    QAccessibleInterface *readout = Of(Form1().LEDDisplay1);
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->role(), QAccessible::SpinBox);
    EXPECT_EQ(readout->text(QAccessible::Name), u"Frequency"_s);
    EXPECT_EQ(readout->text(QAccessible::Description), u"Step 10 kHz"_s);
    EXPECT_TRUE(readout->state().editable); // a frequency typed there tunes
    ASSERT_NE(readout->valueInterface(), nullptr);
    QAccessibleTextInterface *text = readout->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(readout->valueInterface()->currentValue().toDouble(), 14200.0);
    EXPECT_EQ(readout->text(QAccessible::Value), u"14,200.000 kHz"_s);
    EXPECT_EQ(text->characterCount(), 14);
    EXPECT_EQ(text->text(0, 14), u"14,200.000 kHz"_s);
    EXPECT_EQ(text->text(3, 6), u"200"_s);
    EXPECT_EQ(text->text(11, -1), u"kHz"_s);

    announcements.clear();
    for (int notch = 0; notch < 5; ++notch)
        Wheel(Form1().LEDDisplay1, 120);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Notified().isEmpty(); }));
    Settle();
    EXPECT_EQ(ReadoutSaid(), QStringList{u"14,250.000 kHz"_s});
    // The window itself has the focus: the frequency is announced as well.
    EXPECT_EQ(Notified(), QStringList{u"14,250.000 kHz"_s});

    // Each change is let settle, and so spoken, before the next.
    const auto said = [this](int count) { return QTest::qWaitFor([this, count] { return ReadoutSaid().size() >= count; }); };
    announcements.clear();
    QTest::keyClicks(&Form1(), u"70"_s);
    ASSERT_EQ(QApplication::focusWidget(), Form1().LEDDisplay1);
    ASSERT_TRUE(said(1));
    Click(Form1().Mem[4]); // an entry is dropped by any click
    ASSERT_TRUE(said(2));
    Form1().LEDDisplay1->setFocus();
    QTest::keyClick(Form1().LEDDisplay1, Qt::Key_Up);
    ASSERT_TRUE(said(3));
    Settle();
    EXPECT_EQ(ReadoutSaid(), (QStringList{u"Typing 70 kHz"_s, u"14,250.000 kHz"_s, u"14,260.000 kHz"_s}));
    // Only the change settled while a button had the focus is a notification.
    EXPECT_EQ(Notified(), QStringList{u"14,250.000 kHz"_s});
}

// Each status text is announced once as it appears: a text the link repeats is not news.
TEST_F(AccessibilityTest, EveryStatusTextIsAnnouncedOnceAsItAppears)
{
    port.Fail(RecordingD2xx::Kind::Open, FT_DEVICE_NOT_FOUND);
    Start();
    // The receiver's state, shown before the window was, is announced again when it first comes up.
    const QString missing = Form1().info->text();
    EXPECT_EQ(Notified(), (QStringList{missing, missing}));
    EXPECT_EQ(Of(Form1().info)->role(), QAccessible::StaticText);
    EXPECT_EQ(Of(Form1().announcer)->role(), QAccessible::Notification);
    EXPECT_FALSE(Form1().announcer->isVisible());
    announcements.clear();
    QTest::keyClicks(&Form1(), u"80000"_s);
    QTest::keyClick(&Form1(), Qt::Key_Return);
    const QString refusal = u"Out of range: 80000 kHz (50 to 70000 kHz)"_s;
    EXPECT_EQ(Of(Form1().info)->text(QAccessible::Name), refusal);
    Form1().ShowStatus(u"Error USB -FT_IO_ERROR"_s);
    Form1().ShowStatus(u"Error USB -FT_IO_ERROR"_s);
    Form1().ShowNotice(refusal);
    EXPECT_EQ(Notified(), (QStringList{refusal, u"Error USB -FT_IO_ERROR"_s, refusal}));
}

// The pixels that differ between two images, all of which must lie in `area`.
int ChangedPixels(const QImage &before, const QImage &after, const QRect &area)
{
    int changed = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            if (before.pixel(x, y) != after.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(area.contains(x, y)) << x << ',' << y;
            }
    return changed;
}

TEST_F(AccessibilityTest, TheFocusMarkShowsAfterTabAndNeverAfterAClick)
{
    Start();
    QCoreApplication::processEvents();
    const QImage atStart = Form1().grab().toImage();
    // The readout is the first stop: a dotted frame two pixels inside its edge, in its LED colour.
    QTest::keyClick(&Form1(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Form1().LEDDisplay1);
    const QImage onReadout = Form1().grab().toImage();
    const QRect readout = Form1().LEDDisplay1->geometry();
    EXPECT_GT(ChangedPixels(atStart, onReadout, readout), 0);
    const TColor led = Form1().LEDDisplay1->ColorLED();
    EXPECT_EQ(onReadout.pixel(readout.topLeft() + QPoint(2, 2)), qRgb(RedOf(led), GreenOf(led), BlueOf(led)));
    EXPECT_EQ(onReadout.pixel(readout.topLeft() + QPoint(3, 2)), atStart.pixel(readout.topLeft() + QPoint(3, 2)));

    // On UP, in its silver caption colour; it stays when the window or a menu gives the focus back.
    Form1().UP->setFocus(Qt::TabFocusReason);
    const QImage tabbed = Form1().grab().toImage();
    const QRect up = Form1().UP->geometry();
    EXPECT_GT(ChangedPixels(atStart, tabbed, up), 0);
    const QPoint corner = up.topLeft() + QPoint(2, 2);
    EXPECT_EQ(tabbed.pixel(corner), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(tabbed.pixel(corner + QPoint(1, 0)), atStart.pixel(corner + QPoint(1, 0)));
    for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(Form1().UP, &out);
        QFocusEvent in(QEvent::FocusIn, reason);
        QApplication::sendEvent(Form1().UP, &in);
        EXPECT_EQ(Form1().grab().toImage(), tabbed) << reason;
    }

    // A click gives the focus without a mark: in VFO mode a memory button does nothing else.
    Click(Form1().Mem[4]);
    ASSERT_EQ(QApplication::focusWidget(), Form1().Mem[4]);
    EXPECT_EQ(Form1().grab().toImage(), atStart);

    // Typing a frequency there takes the focus to the readout by key: it shows the mark.
    QTest::keyClick(Form1().Mem[4], Qt::Key_7);
    ASSERT_EQ(QApplication::focusWidget(), Form1().LEDDisplay1);
    EXPECT_EQ(Form1().grab().toImage().pixel(readout.topLeft() + QPoint(2, 2)), qRgb(RedOf(led), GreenOf(led), BlueOf(led)));
}
