#pragma once

#include <QWidget>

class D2xx;
class QLabel;
class Tsdr;

// The receiver's main window: the frequency readout, tuning keys, memories and the status line.
class TForm1 : public QWidget
{
public:
    // Every library call of the driver goes to `port`.
    explicit TForm1(D2xx &port, QWidget *parent = nullptr);
    ~TForm1() override;

    static constexpr QPoint DesignedPosition{430, 110};
    static constexpr QSize OuterSize{405, 280};

    // The driver's message event: the text replaces the status line.
    void escribir_memo(Tsdr *Sender, const QString &Text);

    QLabel *info = nullptr;
    Tsdr *sdr = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void CreateControls();
    void FormCreate();
    void FormDestroy();
    void FitOuterSize();

    D2xx &port;
};
