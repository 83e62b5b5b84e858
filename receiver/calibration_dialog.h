#pragma once

#include <QDialog>

#include <cstdint>

class QDoubleSpinBox;
class QLabel;
class QSpinBox;

// The synthesizer's reference clock, in hertz and as its error in ppm from 75 MHz, both editable;
// and from a known signal: tuned to zero beat with a station of known frequency, the clock that
// makes the readout show that frequency is the clock times known over shown.
class TCalibrationDialog : public QDialog
{
public:
    // `shown`: the readout's frequency, in hertz.
    TCalibrationDialog(std::int64_t clock, std::int32_t shown, QWidget *parent);

    std::int64_t Clock() const;
    void SetClock(std::int64_t hertz);
    // Scales the clock by the known frequency over the shown one; false, and nothing changed,
    // when that clock would lie beyond the range the receiver accepts.
    bool FromKnownSignal();

    QSpinBox *ClockBox;
    QDoubleSpinBox *PpmBox;
    QDoubleSpinBox *KnownBox; // in kHz, to the hertz
    QLabel *Problem;

private:
    void ShowPpm();

    std::int32_t shown;
    bool showing = false;
};
