#pragma once

#include "colors.h"
#include "digit_images.h"
#include "display_text.h"
#include "faceplate_types.h"
#include "keyboard_control.h"

#include <QBasicTimer>
#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class TCanvas;

// The numeric readout: a row of seven-segment digits showing Value with a fixed number of
// digits and decimals, lit segments in ColorLED, unlit ones faintly in a colour between the LED
// and the background, and a decimal separator in one of six shapes. The ten digits are rendered
// once into images whenever their look changes; painting only copies them into place. The keyboard
// reaches it, so that a screen reader, which speaks the value changes of the focused control
// alone, speaks its changes.
class TLEDDisplay : public TFocusMarkedControl
{
    Q_OBJECT

public:
    explicit TLEDDisplay(QWidget *parent = nullptr);

    TBevelStyle BevelStyle() const { return bevelStyle; }
    void SetBevelStyle(TBevelStyle value);
    TBorderStyle BorderStyle() const { return borderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TColor ColorBackGround() const { return colorBackGround; }
    void SetColorBackGround(TColor value);
    TColor ColorLED() const { return colorLED; }
    void SetColorLED(TColor value);
    TDecSeparator DecSeparator() const { return decSeparator; }
    void SetDecSeparator(TDecSeparator value);
    int DigitHeight() const { return digitHeight; }
    void SetDigitHeight(int value);
    int DigitWidth() const { return digitWidth; }
    void SetDigitWidth(int value);
    int DigitLineWidth() const { return digitLineWidth; }
    void SetDigitLineWidth(int value);
    bool DrawDigitShapes() const { return drawDigitShapes; }
    void SetDrawDigitShapes(bool value);
    int FractionDigits() const { return fractionDigits; }
    // Lowered to NumDigits - 1 when above it.
    void SetFractionDigits(int value);
    bool LeadingZeros() const { return leadingZeros; }
    void SetLeadingZeros(bool value);
    TContrast LEDContrast() const { return ledContrast; }
    // Values outside 0..9 are ignored.
    void SetLEDContrast(int value);
    int NumDigits() const { return numDigits; }
    void SetNumDigits(int value);
    TSegmentStyle SegmentStyle() const { return segmentStyle; }
    void SetSegmentStyle(TSegmentStyle value);
    double Value() const { return value; }
    // Requests a repaint, then calls Change. Changes faster than the screen shows them are
    // painted together: the first at once, the rest when its frame is over.
    void SetValue(double value);

    // Digits being typed, shown in place of the value (see MakeTypedText); empty shows the value.
    const QString &TypedText() const { return typedText; }
    void SetTypedText(const QString &value);
    // What assistive tools read as the display's value ("14,200.000 kHz"); a change is announced
    // as a change of value.
    const QString &SpokenText() const { return spokenText; }
    void SetSpokenText(const QString &value);

    // The digit cell (1 for the leftmost) under a point of the control; 0 outside every cell.
    int CellAt(QPoint point) const;

    std::function<void(QObject *Sender)> OnChange;
    // A left click on a digit cell.
    std::function<void(QObject *Sender, int cell)> OnCellClick;

    // Derived state, recomputed by the setters.
    TColor ColorLEDOff() const { return colorLEDOff; }
    TColor ColorShape() const { return colorShape; }
    const std::array<std::array<TColor, SegmentCount>, 10> &SegmentColors() const;
    const QImage &DigitImage(int digit) const;

    static constexpr QSize InitialSize{168, 36};
    // The least time between two repaints for new values (a 60 Hz screen's frame).
    static constexpr int ValueFrameMilliseconds = 16;

protected:
    // Raises OnChange; called by SetValue after the repaint was requested.
    virtual void Change();
    // The digit images are first built when the display is made ready to be shown.
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void ShowNewValue();
    void DefineDigit(int digit, const TSegmentFlags &segments) const;
    void BuildDigitImages() const;
    // Rebuilds the images once they exist; until then the settings made after construction are
    // all taken by the first build, so the images are made once.
    void DigitLookChanged();
    void EnsureDigitImages() const;
    void RecomputeColors();
    void DrawDigits(TCanvas &canvas) const;
    // The separator after a cell; `nextX` is where the next cell's image goes.
    void DrawSeparator(TCanvas &canvas, int nextX, int top, int cellWidth) const;
    void DrawBevel(TCanvas &canvas, QRect &rect) const;

    TBevelStyle bevelStyle = bvLowered;
    TBorderStyle borderStyle = bsSingle;
    TColor colorBackGround = clBlack;
    TColor colorLED = clLime;
    TDecSeparator decSeparator = dsComma;
    int digitHeight = 30;
    int digitWidth = 20;
    int digitLineWidth = 3;
    bool drawDigitShapes = true;
    int fractionDigits = 0;
    bool leadingZeros = true;
    TContrast ledContrast = 6;
    int numDigits = 6;
    TSegmentStyle segmentStyle = ssBeveled;
    double value = 0;
    QBasicTimer valueFrame;
    bool valueWaiting = false;
    QString typedText;
    TDisplayText typed;
    QString spokenText;
    int pressedCell = 0;

    TColor colorLEDOff = clBlack;
    TColor colorShape = clBlack;
    // Built on first need (see EnsureDigitImages), hence mutable.
    mutable std::array<std::array<TColor, SegmentCount>, 10> segmentColors{};
    mutable std::array<QImage, 10> digitImages;
    mutable bool digitImagesBuilt = false;
};
