#include "keyboard_tuning.h"
#include "program_rig.h"

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
};
std::vector<Announcement> announcements;

void Record(QAccessibleEvent *event)
{
    QVariant value;
    if (event->type() == QAccessible::ValueChanged)
        value = static_cast<QAccessibleValueChangeEvent *>(event)->value();
    announcements.push_back({event->object(), event->type(), value});
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
    std::vector<QVariant> ValuesAnnounced(QObject *object) const
    {
        std::vector<QVariant> values;
        for (const Announcement &a : announcements)
            if (a.object == object && a.type == QAccessible::ValueChanged)
                values.push_back(a.value);
        return values;
    }
};

} // namespace

TEST_F(AccessibilityTest, ButtonsAndPanelsArePushButtonsNamedByTheirCaption)
{
    WriteMemoryFile("[bank1]\nTag_mem2=R&TTY\n");
    Start();
    for (QObject *control : std::initializer_list<QObject *>{Form1().x10k, Form1().Mem[1], Form1().UP, Form1().M_VFO}) {
        QAccessibleInterface *button = Of(control);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->role(), QAccessible::Button) << control->objectName().toStdString();
        EXPECT_FALSE(button->state().checkable);
        ASSERT_NE(button->actionInterface(), nullptr);
        EXPECT_EQ(button->actionInterface()->actionNames().front(), QAccessibleActionInterface::pressAction());
    }
    EXPECT_EQ(Of(Form1().x10k)->text(QAccessible::Name), u"10K"_s);
    EXPECT_EQ(Of(Form1().Mem[1])->text(QAccessible::Name), u"RTTY"_s);
    EXPECT_EQ(Of(Form1().UP)->text(QAccessible::Name), u"UP"_s);
    EXPECT_EQ(Of(Form1().M_VFO)->text(QAccessible::Name), u"MEM"_s);
    // The light is the checked state.
    EXPECT_TRUE(Of(Form1().x10k)->state().checked);
    EXPECT_FALSE(Of(Form1().x1k)->state().checked);
    EXPECT_TRUE(Of(Form1().M_VFO)->state().checked);
    EXPECT_FALSE(Of(Form1().UP)->state().checked);
}

TEST_F(AccessibilityTest, APressThroughTheLayerIsAClick)
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
    // Both lights that changed are announced.
    int stateChanges = 0;
    for (const Announcement &a : announcements)
        if (a.type == QAccessible::StateChanged && (a.object == Form1().x1k || a.object == Form1().x10k))
            ++stateChanges;
    EXPECT_EQ(stateChanges, 2);
}

TEST_F(AccessibilityTest, TheReadoutIsAValueNamedFrequencyThatSpeaksKilohertz)
{
    Start();
    QAccessibleInterface *readout = Of(Form1().LEDDisplay1);
    ASSERT_NE(readout, nullptr);
    EXPECT_EQ(readout->text(QAccessible::Name), u"Frequency"_s);
    ASSERT_NE(readout->valueInterface(), nullptr);
    ASSERT_NE(readout->textInterface(), nullptr);
    EXPECT_EQ(readout->valueInterface()->currentValue().toDouble(), 14200.0);
    EXPECT_EQ(readout->text(QAccessible::Value), u"14,200.000 kHz"_s);
    EXPECT_EQ(readout->textInterface()->text(0, readout->textInterface()->characterCount()), u"14,200.000 kHz"_s);

    announcements.clear();
    Wheel(Form1().LEDDisplay1, 120);
    EXPECT_EQ(readout->textInterface()->text(0, 100), u"14,210.000 kHz"_s);
    QTest::keyClicks(&Form1(), u"70"_s);
    Click(Form1().Mem[4]); // an entry is dropped by any click
    const std::vector<QVariant> values = ValuesAnnounced(Form1().LEDDisplay1);
    ASSERT_GE(values.size(), 4u);
    EXPECT_EQ(values[0].toString(), u"14,210.000 kHz"_s);
    EXPECT_EQ(values[1].toString(), u"Typing 7 kHz"_s);
    EXPECT_EQ(values[2].toString(), u"Typing 70 kHz"_s);
    EXPECT_EQ(values[3].toString(), u"14,210.000 kHz"_s);
}

TEST_F(AccessibilityTest, TheStatusLineIsALabelWhoseChangesAreAnnounced)
{
    Start();
    QAccessibleInterface *status = Of(Form1().info);
    EXPECT_EQ(status->role(), QAccessible::StaticText);
    announcements.clear();
    QTest::keyClicks(&Form1(), u"80000"_s);
    QTest::keyClick(&Form1(), Qt::Key_Return);
    EXPECT_EQ(status->text(QAccessible::Name), u"Out of range: 80000 kHz (50 to 70000 kHz)"_s);
    const bool announced = std::any_of(announcements.begin(), announcements.end(), [this](const Announcement &a) {
        return a.object == Form1().info && a.type == QAccessible::NameChanged;
    });
    EXPECT_TRUE(announced);
}

TEST_F(AccessibilityTest, TheFocusMarkShowsAfterTabAndNeverAfterAClick)
{
    Start();
    QCoreApplication::processEvents();
    const QImage atStart = Form1().grab().toImage();
    QTest::keyClick(&Form1(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Form1().UP);
    const QImage tabbed = Form1().grab().toImage();
    // Only UP changed: a dotted frame two pixels inside its edge, in its silver caption colour.
    const QRect up = Form1().UP->geometry();
    int changed = 0;
    for (int y = 0; y < atStart.height(); ++y)
        for (int x = 0; x < atStart.width(); ++x)
            if (atStart.pixel(x, y) != tabbed.pixel(x, y)) {
                ++changed;
                EXPECT_TRUE(up.contains(x, y)) << x << ',' << y;
            }
    EXPECT_GT(changed, 0);
    const QPoint corner = up.topLeft() + QPoint(2, 2);
    EXPECT_EQ(tabbed.pixel(corner), qRgb(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(tabbed.pixel(corner + QPoint(1, 0)), atStart.pixel(corner + QPoint(1, 0)));

    // A click gives the focus without a mark: in VFO mode a memory button does nothing else.
    Click(Form1().Mem[4]);
    ASSERT_EQ(QApplication::focusWidget(), Form1().Mem[4]);
    EXPECT_EQ(Form1().grab().toImage(), atStart);
}
