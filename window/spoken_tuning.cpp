#include "spoken_tuning.h"

#include "Faceplate.h"
#include "frequency_entry.h"
#include "spoken_words.h"

TSpokenTuning::TSpokenTuning(TLEDDisplay &readout, TAnnouncer &announcer)
    : QObject(&readout)
    , readout(readout)
    , announcer(announcer)
{
    settle.setSingleShot(true);
    settle.setInterval(SettleTime);
    connect(&settle, &QTimer::timeout, this, [this] { Settled(); });
}

// The first frequency is the readout's text at once: there is nothing yet to settle.
void TSpokenTuning::FrequencyChanged(std::int32_t hertz)
{
    frequency = hertz;
    if (readout.SpokenText().isEmpty())
        Settled();
    else
        settle.start();
}

void TSpokenTuning::TypingChanged(const QString &typed)
{
    typing = typed;
    settle.start();
}

void TSpokenTuning::Tell(const QString &item)
{
    news << item;
    settle.start();
}

void TSpokenTuning::Settled()
{
    QStringList announcement;
    announcement.swap(news);
    const QString text = typing.isEmpty() ? SpokenFrequency(frequency) : SpokenTyping(typing);
    if (text != readout.SpokenText()) {
        readout.SetSpokenText(text);
        if (!readout.hasFocus())
            announcement << text;
        if (typing.isEmpty() && OnSettled)
            if (const QString after = OnSettled(frequency); !after.isEmpty())
                announcement << after;
    }
    if (readout.isActiveWindow() && !announcement.isEmpty())
        announcer.Announce(announcement.join(u", "));
}
