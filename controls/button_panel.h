#pragma once

#include "bevel.h"
#include "canvas.h"
#include "keyboard_control.h"

#include <QWidget>

#include <functional>

// A bevelled, directional panel with a centred caption and an empty LED frame: the UP and DOWN
// keys. It has no pressed look; a left click raises OnClick.
class TButtonPanel : public TKeyboardControl
{
    Q_OBJECT

public:
    explicit TButtonPanel(QWidget *parent = nullptr);

    bool Beveled() const { return look.Beveled; }
    void SetBeveled(bool value);
    TBorderStyle BorderStyle() const { return look.BorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    const QString &Caption() const { return caption; }
    void SetCaption(const QString &value);
    TColor Color() const { return color; }
    void SetColor(TColor value);
    int Depth() const { return look.Depth; }
    void SetDepth(int value);
    const TFont &Font() const { return panelFont; }
    void SetFont(const TFont &value);
    TButtonDirection PanelDirection() const { return look.Direction; }
    void SetPanelDirection(TButtonDirection value);
    bool ShowLED() const { return showLED; }
    void SetShowLED(bool value);

    std::function<void(QObject *Sender)> OnClick;

    void Press() override;

    TColor ColorLight() const { return look.Light; }
    TColor ColorShadow() const { return look.Shadow; }

    static constexpr QSize InitialSize{45, 45};

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TBevelLook look;
    QString caption;
    TColor color = clGray;
    TFont panelFont;
    bool showLED = true;
    bool clickArmed = false;
};
