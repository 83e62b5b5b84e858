#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <functional>

class TAnnouncer;
class TLEDDisplay;

// What a listener hears of the tuning. The readout's spoken text follows the frequency, or the
// entry being typed, once it has settled for SettleTime: a held key or a network client changes it
// many times a second, and only the last value is worth hearing. A screen reader speaks the value
// changes of the focused control alone, so a frequency that settles while the window is in use
// but the focus is on another control (a button pressed, the wheel) is announced as well.
class TSpokenTuning : public QObject
{
public:
    TSpokenTuning(TLEDDisplay &readout, TAnnouncer &announcer);

    void FrequencyChanged(std::int32_t hertz);
    // The text being typed; empty once the entry is closed.
    void TypingChanged(const QString &typed);
    // News of the tuning that no focused control speaks (a new step, a new mode), announced with
    // the settled frequency in one text: a second announcement would cut the first one short.
    void Tell(const QString &news);

    static constexpr std::chrono::milliseconds SettleTime{250};
    // Asked once a new frequency has settled: what to say after it (the station on the air
    // there), or nothing.
    std::function<QString(std::int32_t hertz)> OnSettled;

private:
    void Settled();

    TLEDDisplay &readout;
    TAnnouncer &announcer;
    QTimer settle;
    std::int32_t frequency = 0;
    QString typing;
    QStringList news;
};
