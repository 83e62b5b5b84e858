#include "Faceplate.h"
#include "paint_counter.h"
#include "pixel_art.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QRgb Sentinel = 0xFF123456;

QImage Rendered(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(1);
    image.fill(Sentinel);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Crisp text, so that every pixel of a caption has the font colour exactly.
TFont CrispFont(TColor color)
{
    QFont face;
    face.setStyleStrategy(QFont::NoAntialias);
    return TFont{face, color};
}

QRgb Rgb(TColor color)
{
    return ToQColor(color).rgb();
}

// The box of the pixels in `colour`, or an empty rectangle.
QRect BoundsOf(const QImage &image, QRgb colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// A main-window memory button: 49 x 25, flat, border, D = 3, LED shown, caption on the button.
void MakeMemoryButton(TLEDButton &button)
{
    button.resize(49, 25);
    button.SetBeveled(false);
    button.SetTextPosition(tpOnButton);
    button.SetFont(CrispFont(clWhite));
    button.SetColorLED(clRed);
    button.SetCaption(u"MW"_s);
}

class ButtonTest : public testing::Test
{
protected:
    void SetUp() override
    {
        original = QGuiApplication::palette();
        QPalette palette = original;
        palette.setColor(QPalette::Shadow, Qt::black);
        palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6D, 0x6D, 0x6D));
        QGuiApplication::setPalette(palette);
    }
    void TearDown() override { QGuiApplication::setPalette(original); }
    QPalette original;
};

using LEDButtonTest = ButtonTest;
using ButtonPanelTest = ButtonTest;

// A button shown in a window of its own, for input.
struct ShownButton
{
    QWidget window;
    TLEDButton *button = new TLEDButton(&window);
    int clicks = 0;
    int doubleClicks = 0;
    std::vector<bool> stateSeenByClick;
    std::vector<bool> pressedSeenByClick;

    ShownButton()
    {
        window.resize(200, 100);
        button->move(10, 10);
        button->SetCaption(u"&Band"_s);
        button->OnClick = [this](QObject *sender) {
            EXPECT_EQ(sender, button);
            pressedSeenByClick.push_back(button->Pressed());
            stateSeenByClick.push_back(button->StateOn());
            ++clicks;
        };
        button->OnDblClick = [this](QObject *) { ++doubleClicks; };
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

} // namespace

TEST_F(LEDButtonTest, NewButton)
{
    TLEDButton button;
    EXPECT_EQ(button.size(), QSize(45, 45));
    EXPECT_EQ(button.Color(), clGray);
    EXPECT_EQ(button.ColorLED(), clBlue);
    EXPECT_EQ(button.TextPosition(), tpNone);
    EXPECT_TRUE(button.Switching());
    EXPECT_TRUE(button.Beveled());
    EXPECT_EQ(button.Depth(), 3);
    EXPECT_EQ(button.LEDContrast(), 6);
    EXPECT_EQ(button.NumGlyphs(), 1);
    EXPECT_EQ(button.ColorLight(), 0xBFBFBF);
    EXPECT_EQ(button.ColorShadow(), 0x4D4D4D);
    EXPECT_EQ(button.ColorLEDOff(), 0x660000);
}

TEST_F(LEDButtonTest, LEDContrastAndColours)
{
    TLEDButton button;
    button.SetLEDContrast(10);
    EXPECT_EQ(button.LEDContrast(), 6);
    EXPECT_EQ(button.ColorLEDOff(), 0x660000);
    button.SetLEDContrast(0);
    EXPECT_EQ(button.ColorLEDOff(), clBlue);
    button.SetLEDContrast(9);
    EXPECT_EQ(button.ColorLEDOff(), 0x1A0000);
    button.SetColor(clWhite);
    EXPECT_EQ(button.ColorLight(), clWhite);
    EXPECT_EQ(button.ColorShadow(), 0x999999);
}

TEST_F(LEDButtonTest, MemoryButtonLEDAndCaption)
{
    TLEDButton button;
    MakeMemoryButton(button);
    QImage image = Rendered(button);
    // The LED: a black outline from (6, 13) to (43, 18), the unlit red inside.
    EXPECT_EQ(BoundsOf(image, 0xFF000000u), QRect(0, 0, 49, 25)); // the border is black too
    for (const QPoint corner : {QPoint(6, 13), QPoint(42, 13), QPoint(6, 17), QPoint(42, 17)})
        EXPECT_EQ(image.pixel(corner), 0xFF000000u);
    EXPECT_EQ(BoundsOf(image, Rgb(button.ColorLEDOff())), QRect(7, 14, 35, 3));
    EXPECT_EQ(image.pixel(43, 15), Rgb(clGray));
    // The caption, centred in (0, 0, 49, 15).
    const QRect text = BoundsOf(image, 0xFFFFFFFF);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_GE(text.top(), 0);
    EXPECT_LE(text.bottom(), 14);
    EXPECT_NEAR((text.left() + text.right()) / 2.0, 24, 1.5);
    EXPECT_NEAR((text.top() + text.bottom()) / 2.0, 7, 2);

    button.SetStateOn(true);
    image = Rendered(button);
    EXPECT_EQ(BoundsOf(image, Rgb(clRed)), QRect(7, 14, 35, 3));
}

TEST_F(LEDButtonTest, PressedButtonMovesLEDAndCaptionDownOnePixel)
{
    ShownButton shown;
    TLEDButton &button = *shown.button;
    MakeMemoryButton(button);
    const QRect releasedText = BoundsOf(Rendered(button), 0xFFFFFFFF);
    QTest::mousePress(&button, Qt::LeftButton);
    ASSERT_TRUE(button.Pressed());
    const QImage pressed = Rendered(button);
    EXPECT_EQ(BoundsOf(pressed, Rgb(button.ColorLEDOff())), QRect(7, 15, 35, 3));
    EXPECT_EQ(BoundsOf(pressed, 0xFFFFFFFF), releasedText.translated(0, 1));
    QTest::mouseRelease(&button, Qt::LeftButton);

    // Without the LED nothing moves: only the bevel changes.
    button.SetShowLED(false);
    const QRect unpressedText = BoundsOf(Rendered(button), 0xFFFFFFFF);
    QTest::mousePress(&button, Qt::LeftButton);
    EXPECT_EQ(BoundsOf(Rendered(button), 0xFFFFFFFF), unpressedText);
    QTest::mouseRelease(&button, Qt::LeftButton);
}

TEST_F(LEDButtonTest, CaptionBandAboveIsReservedEvenWithoutACaption)
{
    TLEDButton button;
    button.SetTextPosition(tpAbove);
    const QImage image = Rendered(button);
    const int band = QFontMetrics(button.Font().Face).horizontalAdvance(u"W"_s) + 2;
    for (int y = 0; y < band; ++y)
        EXPECT_EQ(image.pixel(22, y), Sentinel) << y;
    EXPECT_EQ(image.pixel(22, band), 0xFF000000u); // the border starts the face
}

TEST_F(LEDButtonTest, GlyphStripImages)
{
    // Two 8 x 8 images: red (normal), green (disabled); blue at the bottom-left is transparent.
    QImage strip(16, 8, QImage::Format_RGB32);
    strip.fill(0xFF0000FF);
    for (int y = 1; y < 7; ++y)
        for (int x = 1; x < 7; ++x) {
            strip.setPixel(x, y, 0xFFFF0000);
            strip.setPixel(8 + x, y, 0xFF00FF00);
        }
    TLEDButton button;
    button.SetShowLED(false);
    button.SetGlyph(strip);
    button.SetNumGlyphs(2);
    button.SetStateOn(true);
    QImage image = Rendered(button);
    // Centred in the 45 x 45 button: the image goes to (18, 18); its transparent frame shows the face.
    EXPECT_EQ(image.pixel(22, 22), 0xFFFF0000u);
    EXPECT_EQ(image.pixel(18, 18), Rgb(clGray));

    // With three images and StateOn the third one shows.
    QImage three(24, 8, QImage::Format_RGB32);
    three.fill(0xFF0000FF);
    three.setPixel(4 + 17, 4, 0xFFFFFF00);
    button.SetGlyph(three);
    button.SetNumGlyphs(3);
    image = Rendered(button);
    EXPECT_EQ(image.pixel(22, 22), 0xFFFFFF00u);
}

// The disabled image starts one column past the first one: with a single image nothing of the
// bitmap is there, and the face shows instead of anything made up.
TEST_F(LEDButtonTest, GlyphColumnsBeyondTheBitmapShowTheFace)
{
    QImage single(8, 8, QImage::Format_RGB32);
    single.fill(0xFF0000FF);
    single.setPixel(4, 4, 0xFFFF0000);
    TLEDButton button;
    button.SetShowLED(false);
    button.SetGlyph(single);
    button.setEnabled(false);
    const QImage image = Rendered(button);
    for (int y = 18; y < 26; ++y)
        for (int x = 18; x < 26; ++x)
            EXPECT_EQ(image.pixel(x, y), Rgb(clGray)) << x << "," << y;
}

TEST_F(LEDButtonTest, DisabledLook)
{
    TLEDButton button;
    MakeMemoryButton(button);
    button.SetStateOn(true);
    button.setEnabled(false);
    const QImage image = Rendered(button);
    EXPECT_TRUE(BoundsOf(image, 0xFFFFFFFF).isEmpty());
    EXPECT_FALSE(BoundsOf(image, 0xFF6D6D6D).isEmpty()); // the caption in grey text
    EXPECT_EQ(image.pixel(20, 15), Rgb(clGray));        // the LED in the face colour
    EXPECT_EQ(image.pixel(6, 13), 0xFF000000u);
}

TEST_F(LEDButtonTest, FullClickTogglesAfterTheHandler)
{
    ShownButton shown;
    shown.button->SetStateOn(true);
    QTest::mouseClick(shown.button, Qt::LeftButton);
    EXPECT_EQ(shown.clicks, 1);
    EXPECT_EQ(shown.stateSeenByClick, std::vector<bool>{true});
    EXPECT_EQ(shown.pressedSeenByClick, std::vector<bool>{true});
    EXPECT_FALSE(shown.button->StateOn());
    EXPECT_FALSE(shown.button->Pressed());

    shown.button->SetSwitching(false);
    QTest::mouseClick(shown.button, Qt::LeftButton);
    EXPECT_EQ(shown.clicks, 2);
    EXPECT_FALSE(shown.button->StateOn());
}

TEST_F(LEDButtonTest, ReleaseOutsideTogglesWithoutAClick)
{
    ShownButton shown;
    QTest::mousePress(shown.button, Qt::LeftButton);
    QTest::mouseRelease(shown.button, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(shown.clicks, 0);
    EXPECT_TRUE(shown.button->StateOn());
    EXPECT_FALSE(shown.button->Pressed());
}

TEST_F(LEDButtonTest, RightButtonPressesAndTogglesButDoesNotClick)
{
    ShownButton shown;
    QTest::mousePress(shown.button, Qt::RightButton);
    EXPECT_TRUE(shown.button->Pressed());
    QTest::mouseRelease(shown.button, Qt::RightButton);
    EXPECT_EQ(shown.clicks, 0);
    EXPECT_TRUE(shown.button->StateOn());
}

TEST_F(LEDButtonTest, DoubleClickIsOneClickOneDoubleClickTwoToggles)
{
    ShownButton shown;
    // As a double click arrives: press, release, then the second press with its double-click
    // event, then the second release.
    QTest::mouseClick(shown.button, Qt::LeftButton);
    QTest::mouseDClick(shown.button, Qt::LeftButton);
    QTest::mouseRelease(shown.button, Qt::LeftButton);
    EXPECT_EQ(shown.clicks, 1);
    EXPECT_EQ(shown.doubleClicks, 1);
    EXPECT_FALSE(shown.button->StateOn());
    EXPECT_FALSE(shown.button->Pressed());
}

TEST_F(LEDButtonTest, DisabledButtonIgnoresPresses)
{
    ShownButton shown;
    shown.button->setEnabled(false);
    QTest::mouseClick(shown.button, Qt::LeftButton);
    EXPECT_EQ(shown.clicks, 0);
    EXPECT_FALSE(shown.button->StateOn());
}

TEST(MatchesAcceleratorTest, Cases)
{
    EXPECT_TRUE(MatchesAccelerator(u'b', u"&Band"_s));
    EXPECT_TRUE(MatchesAccelerator(u'B', u"&Band"_s));
    EXPECT_TRUE(MatchesAccelerator(u'n', u"Ba&nd"_s));
    EXPECT_FALSE(MatchesAccelerator(u'a', u"&Band"_s));
    EXPECT_FALSE(MatchesAccelerator(u'b', u"Band"_s));
    EXPECT_FALSE(MatchesAccelerator(u'&', u"Band&"_s));
    EXPECT_TRUE(MatchesAccelerator(u'&', u"&&x"_s)); // a doubled "&" is not special
    EXPECT_TRUE(MatchesAccelerator(u'1', u"&1"_s));
    EXPECT_FALSE(MatchesAccelerator(u'\u00E9', u"&\u00C9"_s)); // only a to z compare without case
}

TEST_F(LEDButtonTest, AcceleratorClicksThroughTheWindowFilter)
{
    ShownButton shown;
    new TAcceleratorFilter(&shown.window);
    QTest::keyClick(&shown.window, Qt::Key_B);
    EXPECT_EQ(shown.clicks, 1);
    EXPECT_TRUE(shown.button->StateOn());
    QTest::keyClick(&shown.window, Qt::Key_B, Qt::ShiftModifier);
    EXPECT_EQ(shown.clicks, 2);
    QTest::keyClick(&shown.window, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(shown.clicks, 3);
    QTest::keyClick(&shown.window, Qt::Key_A);
    EXPECT_EQ(shown.clicks, 3);
    QTest::keyClick(&shown.window, Qt::Key_B, Qt::ControlModifier); // a shortcut, not a mnemonic
    EXPECT_EQ(shown.clicks, 3);

    shown.button->SetCaption(u"Band&"_s);
    QTest::keyClick(&shown.window, Qt::Key_Ampersand);
    EXPECT_EQ(shown.clicks, 3);
}

TEST_F(LEDButtonTest, DisabledButtonSwallowsItsAccelerator)
{
    ShownButton shown;
    shown.button->setEnabled(false);
    EXPECT_TRUE(shown.button->DialogChar(u'b'));
    EXPECT_EQ(shown.clicks, 0);
    EXPECT_FALSE(shown.button->StateOn());
    EXPECT_FALSE(shown.button->DialogChar(u'x'));
}

TEST_F(LEDButtonTest, PlainLettersGoToATextBoxThatHasTheFocus)
{
    ShownButton shown;
    new TAcceleratorFilter(&shown.window);
    auto *edit = new QLineEdit(&shown.window);
    edit->move(100, 10);
    edit->show();
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_B);
    EXPECT_EQ(shown.clicks, 0);
    EXPECT_EQ(edit->text(), u"b"_s);
    QTest::keyClick(edit, Qt::Key_B, Qt::AltModifier);
    EXPECT_EQ(shown.clicks, 1);
}

TEST_F(LEDButtonTest, OnlyANewValueRequestsARepaint)
{
    ShownButton shown;
    QCoreApplication::processEvents();
    TPaintCounter counter;
    counter.Watch(shown.button);
    shown.button->SetColor(clGray);
    shown.button->SetStateOn(false);
    shown.button->SetCaption(u"&Band"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.Of(shown.button), 0);
    shown.button->SetStateOn(true);
    EXPECT_EQ(counter.AfterWaitingFor(shown.button, 1), 1);
    shown.button->SetCaption(u"&Bank"_s);
    EXPECT_EQ(counter.AfterWaitingFor(shown.button, 2), 2);
}

TEST_F(ButtonPanelTest, UpAndDownGeometry)
{
    TButtonPanel up;
    up.resize(49, 45);
    up.SetCaption(u"UP"_s);
    up.SetFont(CrispFont(clSilver));
    QImage image = Rendered(up);
    // The slot outline from (6, 33) to (43, 38) in the window frame colour, the face inside.
    for (const QPoint p : {QPoint(6, 33), QPoint(42, 33), QPoint(6, 37), QPoint(42, 37), QPoint(20, 33)})
        EXPECT_EQ(image.pixel(p), 0xFF000000u);
    EXPECT_EQ(image.pixel(20, 35), Rgb(clGray));
    EXPECT_EQ(image.pixel(43, 35), Rgb(clGray));
    QRect text = BoundsOf(image, Rgb(clSilver));
    EXPECT_LE(text.bottom(), 34);
    EXPECT_NEAR((text.left() + text.right()) / 2.0, 24, 1.5);
    EXPECT_NEAR((text.top() + text.bottom()) / 2.0, 17, 2);

    TButtonPanel down;
    down.resize(49, 45);
    down.SetPanelDirection(bdTopUp);
    down.SetCaption(u"DOWN"_s);
    down.SetFont(CrispFont(clSilver));
    image = Rendered(down);
    for (const QPoint p : {QPoint(6, 7), QPoint(42, 7), QPoint(6, 11), QPoint(42, 11)})
        EXPECT_EQ(image.pixel(p), 0xFF000000u);
    EXPECT_EQ(image.pixel(20, 9), Rgb(clGray));
    text = BoundsOf(image, Rgb(clSilver));
    EXPECT_GE(text.top(), 10);
    EXPECT_NEAR((text.top() + text.bottom()) / 2.0, 27, 2);
}

// A new colour brings its own bevel shades: light $8899AA above, dark $0B1F34 on the right.
TEST_F(ButtonPanelTest, NewColourNewShades)
{
    TButtonPanel panel;
    panel.SetColor(0x123456);
    const QImage image = Rendered(panel);
    EXPECT_EQ(image.pixel(20, 1), Rgb(0x8899AA));
    EXPECT_EQ(image.pixel(43, 20), Rgb(0x0B1F34));
    EXPECT_EQ(image.pixel(20, 20), Rgb(0x123456));
}

TEST_F(ButtonPanelTest, LeftUpSlotAndNoLED)
{
    TButtonPanel panel;
    panel.resize(49, 45);
    panel.SetPanelDirection(bdLeftUp);
    panel.SetCaption(u"L"_s);
    panel.SetFont(CrispFont(clWhite));
    QImage image = Rendered(panel);
    // Columns D + 4 to D + 9, exclusive: 7 to 11.
    EXPECT_EQ(image.pixel(7, 20), 0xFF000000u);
    EXPECT_EQ(image.pixel(11, 20), 0xFF000000u);
    EXPECT_EQ(image.pixel(9, 20), Rgb(clGray));
    EXPECT_GE(BoundsOf(image, 0xFFFFFFFF).left(), 12);
    EXPECT_NEAR(BoundsOf(image, 0xFFFFFFFF).center().x(), (12 + 48) / 2.0, 2);

    panel.SetShowLED(false);
    image = Rendered(panel);
    EXPECT_EQ(image.pixel(7, 20), Rgb(clGray));
    EXPECT_NEAR(BoundsOf(image, 0xFFFFFFFF).center().x(), 24, 2);
}

TEST_F(ButtonPanelTest, ClickRaisesOnClickAndChangesNothingInItsLook)
{
    QWidget window;
    auto *panel = new TButtonPanel(&window);
    panel->SetCaption(u"UP"_s);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int clicks = 0;
    panel->OnClick = [&](QObject *sender) {
        EXPECT_EQ(sender, panel);
        ++clicks;
    };
    const QImage before = Rendered(*panel);
    QTest::mousePress(panel, Qt::LeftButton);
    EXPECT_EQ(Rendered(*panel), before);
    QTest::mouseRelease(panel, Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    QTest::mouseClick(panel, Qt::RightButton);
    QTest::mousePress(panel, Qt::LeftButton);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(panel->ColorLight(), 0xBFBFBF);
    EXPECT_EQ(panel->ColorShadow(), 0x4D4D4D);
}

// While repaints are held a new caption or light asks for none; on release the button asks for
// one exactly when it ends up looking different.
TEST_F(LEDButtonTest, HeldRepaintsComeOnReleaseOnlyForAChangedLook)
{
    ShownButton shown;
    TPaintCounter counter;
    QCoreApplication::processEvents();
    counter.Watch(shown.button);
    const std::vector<std::pair<const char *, std::function<void()>>> changes{
        {"light on and off", [&] { shown.button->SetStateOn(true); shown.button->SetStateOn(false); }},
        {"new caption", [&] { shown.button->SetCaption(u"MEM 2"_s); }},
        {"new light", [&] { shown.button->SetStateOn(true); }}};
    const std::vector<int> expected{0, 1, 1};
    for (std::size_t i = 0; i < changes.size(); ++i) {
        counter.Clear();
        shown.button->HoldRepaint();
        changes[i].second();
        QCoreApplication::processEvents();
        EXPECT_EQ(counter.Of(shown.button), 0) << changes[i].first;
        shown.button->ReleaseRepaint();
        EXPECT_EQ(counter.AfterWaitingFor(shown.button, expected[i]), expected[i]) << changes[i].first;
    }
}
