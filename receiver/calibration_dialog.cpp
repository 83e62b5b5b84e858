#include "calibration_dialog.h"

#include "receiver_range.h"
#include "reference_clock.h"
#include "spoken_words.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr double HertzPerPpm = ReferenceClock::Nominal / 1e6;
constexpr double PpmRange = (ReferenceClock::Highest - ReferenceClock::Nominal) / HertzPerPpm;

} // namespace

TCalibrationDialog::TCalibrationDialog(std::int64_t clock, std::int32_t shown, QWidget *parent)
    : QDialog(parent)
    , ClockBox(new QSpinBox(this))
    , PpmBox(new QDoubleSpinBox(this))
    , KnownBox(new QDoubleSpinBox(this))
    , Problem(new QLabel(this))
    , shown(shown)
{
    setObjectName(u"calibration"_s);
    setWindowTitle(u"Receiver calibration"_s);
    ClockBox->setObjectName(u"referenceClock"_s);
    ClockBox->setRange(ReferenceClock::Lowest, ReferenceClock::Highest);
    ClockBox->setSuffix(u" Hz"_s);
    ClockBox->setGroupSeparatorShown(true);
    PpmBox->setObjectName(u"ppm"_s);
    PpmBox->setRange(-PpmRange, PpmRange);
    PpmBox->setDecimals(2);
    PpmBox->setSingleStep(0.01);
    PpmBox->setSuffix(u" ppm"_s);
    KnownBox->setObjectName(u"knownFrequency"_s);
    KnownBox->setRange(ReceiverRange::Lowest / 1000.0, ReceiverRange::Highest / 1000.0);
    KnownBox->setDecimals(3);
    KnownBox->setSuffix(u" kHz"_s);
    KnownBox->setGroupSeparatorShown(true);
    KnownBox->setValue(shown / 1000.0);
    Problem->setObjectName(u"problem"_s);
    Problem->setWordWrap(true);

    auto *reset = new QPushButton(u"Reset to 75 MHz"_s, this);
    reset->setObjectName(u"reset"_s);
    auto *fromKnown = new QPushButton(u"From a known signal"_s, this);
    fromKnown->setObjectName(u"fromKnownSignal"_s);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto *form = new QFormLayout(this);
    form->addRow(u"Reference &clock:"_s, ClockBox);
    form->addRow(u"&Error:"_s, PpmBox);
    form->addRow(QString(), reset);
    form->addRow(u"Shown on the readout:"_s, new QLabel(SpokenFrequency(shown), this));
    form->addRow(u"&Known frequency, at zero beat:"_s, KnownBox);
    form->addRow(QString(), fromKnown);
    form->addRow(Problem);
    form->addRow(buttons);

    // By the rows as they stand, the buttons beside their boxes.
    setTabOrder(ClockBox, PpmBox);
    setTabOrder(PpmBox, reset);
    setTabOrder(reset, KnownBox);
    setTabOrder(KnownBox, fromKnown);
    setTabOrder(fromKnown, buttons);

    connect(ClockBox, &QSpinBox::valueChanged, this, [this] {
        if (!showing)
            ShowPpm();
    });
    connect(PpmBox, &QDoubleSpinBox::valueChanged, this, [this](double ppm) {
        if (showing)
            return;
        const QScopedValueRollback<bool> fromPpm(showing, true);
        ClockBox->setValue(static_cast<int>(std::lround(ReferenceClock::Nominal + ppm * HertzPerPpm)));
    });
    connect(reset, &QPushButton::clicked, this, [this] { SetClock(ReferenceClock::Nominal); });
    connect(fromKnown, &QPushButton::clicked, this, [this] { FromKnownSignal(); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    SetClock(clock);
}

std::int64_t TCalibrationDialog::Clock() const
{
    return ClockBox->value();
}

void TCalibrationDialog::SetClock(std::int64_t hertz)
{
    ClockBox->setValue(static_cast<int>(hertz));
    ShowPpm();
}

void TCalibrationDialog::ShowPpm()
{
    const QScopedValueRollback<bool> fromClock(showing, true);
    PpmBox->setValue((Clock() - ReferenceClock::Nominal) / HertzPerPpm);
}

bool TCalibrationDialog::FromKnownSignal()
{
    if (!ReceiverRange::Holds(shown)) {
        Problem->setText(u"The readout shows no frequency the receiver tunes to: tune to the station first."_s);
        return false;
    }
    const std::int64_t known = std::llround(KnownBox->value() * 1000);
    const std::int64_t scaled = (Clock() * known + shown / 2) / shown;
    if (!ReferenceClock::Holds(scaled)) {
        Problem->setText(u"%1 is more than 1,000 ppm away from the readout: not a calibration."_s.arg(
            SpokenFrequency(static_cast<std::int32_t>(known))));
        return false;
    }
    Problem->clear();
    SetClock(scaled);
    return true;
}
