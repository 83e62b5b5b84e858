#pragma once

#include "ftdi_census.h"
#include "receiver_choice.h"
#include "sdr.h"

#include <optional>

class TRememberedReceiver;

// A census that lists what it is given: none by default, where the first FTDI chip is opened as
// it always was.
class TListedFtdiCensus final : public TFtdiCensus
{
public:
    QList<TFtdiChip> chips;
    QList<TFtdiChip> Chips() const override { return chips; }
};

// Which FTDI chip is the receiver, for each opening of the driver: the census and the rule decide;
// the chip that opens is remembered (unless the command line chose it for this run
// alone), and its calibrated clock goes with it.
class TReceiverSelection final : public TDeviceChooser
{
public:
    // `required`: the serial given by --receiver.
    TReceiverSelection(const TFtdiCensus &census, TRememberedReceiver &remembered, std::optional<QString> required);

    TChoice Choose() override;
    void Opened() override;
    QString Detail(const QString &refusal) const override;

    QList<TFtdiChip> Chips() const { return census.Chips(); }
    // The chip the next opening picks, without opening it; none when it would refuse, or open the
    // first chip blindly.
    std::optional<TFtdiChip> Pick() const;
    // Why the next opening would open nothing, in short and whole; empty texts when it would.
    TReceiverPick Refusal() const;
    // The user's own choice, which the next opening takes even when another program holds its
    // tty.
    void SetChosen(const TFtdiChip &chip);
    // The chip last opened, if one was, from the census.
    const std::optional<TFtdiChip> &OpenedChip() const { return opened; }
    // That chip, or else the remembered one.
    TReceiverIdentity Receiver() const;

    std::int64_t ReferenceClock() const;
    // Kept for the receiver's serial.
    void SetReferenceClock(std::int64_t hertz);

private:
    struct TPicked
    {
        TReceiverPick pick;
        QList<TFtdiChip> chips;
    };
    TPicked PickNow() const;

    const TFtdiCensus &census;
    TRememberedReceiver &remembered;
    std::optional<QString> required;
    TReceiverIdentity chosen;
    std::optional<TFtdiChip> opening;
    TReceiverPick refused; // the last opening's
    std::optional<TFtdiChip> opened;
};
