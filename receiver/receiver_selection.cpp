#include "receiver_selection.h"

#include "error_report.h"
#include "remembered_receiver.h"

TReceiverSelection::TReceiverSelection(const TFtdiCensus &census, TRememberedReceiver &remembered,
                                       std::optional<QString> required)
    : census(census)
    , remembered(remembered)
    , required(std::move(required))
{
}

TReceiverSelection::TPicked TReceiverSelection::PickNow() const
{
    TPicked picked;
    picked.chips = census.Chips();
    picked.pick = PickReceiver(picked.chips, remembered.Receiver(), required, chosen);
    return picked;
}

std::optional<TFtdiChip> TReceiverSelection::Pick() const
{
    const TPicked picked = PickNow();
    if (!picked.pick.chip)
        return std::nullopt;
    return picked.chips[*picked.pick.chip];
}

TReceiverPick TReceiverSelection::Refusal() const
{
    TReceiverPick pick = PickNow().pick;
    pick.chip.reset();
    return pick;
}

QString TReceiverSelection::Detail(const QString &refusal) const
{
    return !refusal.isEmpty() && refusal == refused.refusal ? refused.detail : QString();
}

TDeviceChooser::TChoice TReceiverSelection::Choose()
{
    const TPicked picked = PickNow();
    refused = picked.pick;
    opening.reset();
    TChoice choice;
    choice.refusal = picked.pick.refusal;
    if (picked.pick.chip) {
        opening = picked.chips[*picked.pick.chip];
        choice.portPath = opening->portPath.toStdString();
    }
    choice.referenceClock = remembered.ReferenceClock(opening ? opening->serial : Receiver().serial);
    return choice;
}

void TReceiverSelection::Opened()
{
    if (!opening)
        return;
    opened = opening;
    chosen = {};
    // Called from inside the driver, which never throws: a choice that cannot be written
    // is reported here, and the receiver works all the same.
    if (!required)
        RunGuarded([this] { remembered.SetReceiver({opened->serial, opened->portPath}); });
}

void TReceiverSelection::SetChosen(const TFtdiChip &chip)
{
    chosen = {chip.serial, chip.portPath};
}

TReceiverIdentity TReceiverSelection::Receiver() const
{
    if (opened)
        return {opened->serial, opened->portPath};
    return remembered.Receiver();
}

std::int64_t TReceiverSelection::ReferenceClock() const
{
    return remembered.ReferenceClock(Receiver().serial);
}

void TReceiverSelection::SetReferenceClock(std::int64_t hertz)
{
    remembered.SetReferenceClock(Receiver().serial, hertz);
}
