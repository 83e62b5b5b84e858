#pragma once

#include "bevel.h"
#include "canvas.h"
#include "colors.h"
#include "faceplate_types.h"
#include "keyboard_control.h"

#include <QImage>
#include <QWidget>

#include <functional>

// True when the caption's first "&" is followed by the character (letters a to z compared
// without regard to case); a caption without "&", or ending in it, has no accelerator.
bool MatchesAccelerator(QChar character, const QString &caption);
// A caption as it reads and is spoken: without the "&" that marks its accelerator.
QString CaptionAsRead(QString caption);

// The push button of the rack look: a face with a directional bevel, a small LED lit while
// StateOn, a caption and an optional glyph. A release may toggle StateOn by itself (Switching);
// OnClick runs before that, so a handler still sees the state from before the click.
class TLEDButton : public TKeyboardControl
{
    Q_OBJECT

public:
    explicit TLEDButton(QWidget *parent = nullptr);

    bool Beveled() const { return look.Beveled; }
    void SetBeveled(bool value);
    TBorderStyle BorderStyle() const { return look.BorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TButtonDirection ButtonDirection() const { return look.Direction; }
    void SetButtonDirection(TButtonDirection value);
    const QString &Caption() const { return caption; }
    void SetCaption(const QString &value);
    TColor Color() const { return color; }
    void SetColor(TColor value);
    TColor ColorLED() const { return colorLED; }
    void SetColorLED(TColor value);
    int Depth() const { return look.Depth; }
    void SetDepth(int value);
    const TFont &Font() const { return buttonFont; }
    // Copies the font; always repaints.
    void SetFont(const TFont &value);
    const QImage &Glyph() const { return glyph; }
    // Copies the bitmap: a strip of NumGlyphs images (normal, disabled, on); always repaints.
    void SetGlyph(const QImage &value);
    TContrast LEDContrast() const { return ledContrast; }
    // Values outside 0..9 are ignored.
    void SetLEDContrast(int value);
    TNumGlyphs NumGlyphs() const { return numGlyphs; }
    void SetNumGlyphs(int value);
    bool ShowLED() const { return showLED; }
    void SetShowLED(bool value);
    bool StateOn() const { return stateOn; }
    void SetStateOn(bool value);
    bool Switching() const { return switching; }
    void SetSwitching(bool value);
    TTextPosition TextPosition() const { return textPosition; }
    void SetTextPosition(TTextPosition value);
    // The light marks the one chosen of a group (a step, a bank, a memory): assistive tools see a
    // radio button, selected while lit, instead of a push button.
    bool Choice() const { return choice; }
    void SetChoice(bool value) { choice = value; }

    std::function<void(QObject *Sender)> OnClick;
    std::function<void(QObject *Sender)> OnDblClick;

    TColor ColorLight() const { return look.Light; }
    TColor ColorShadow() const { return look.Shadow; }
    TColor ColorLEDOff() const { return colorLEDOff; }
    bool Pressed() const { return pressed; }

    // A typed character offered as a mnemonic: on a match the button clicks (when enabled) and
    // reports it handled, so no other control gets it.
    bool DialogChar(QChar character);
    void Press() override;
    // While held, a new caption or light asks for no repaint; on release the button asks for one
    // only when its caption or light then differs from before the hold. A handler that switches a
    // light off and on again so repaints nothing.
    void HoldRepaint();
    void ReleaseRepaint();

    static constexpr QSize InitialSize{45, 45};

protected:
    // A context menu of the button's own takes the mouse from a press: the press ends there, as a
    // release outside the button ends it.
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void Click();
    // The end of a press: the face pops out, Switching toggles the light, and the button is
    // painted at once.
    void Release(bool clicked);
    // Tells assistive tools that the light (the checked state they read) changed.
    void AnnounceLight();
    // A repaint for a new caption or light, unless held.
    void RequestRepaint();
    void RecomputeLEDOff();
    void DrawCaption(TCanvas &canvas, const TBox &box) const;
    void DrawLED(TCanvas &canvas, TBox &paint) const;
    void DrawGlyph(TCanvas &canvas, const TBox &paint) const;

    TBevelLook look;
    QString caption;
    TColor color = clGray;
    TColor colorLED = clBlue;
    TColor colorLEDOff = clBlack;
    TFont buttonFont;
    QImage glyph;
    TContrast ledContrast = 6;
    TNumGlyphs numGlyphs = 1;
    bool showLED = true;
    bool stateOn = false;
    bool switching = true;
    TTextPosition textPosition = tpNone;
    bool choice = false;
    bool pressed = false;
    bool clickArmed = false; // a left press that a left release inside turns into a click
    bool repaintHeld = false;
    QString heldCaption;
    bool heldStateOn = false;
};
