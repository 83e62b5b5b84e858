#include "receiver_choice.h"

using namespace Qt::Literals::StringLiterals;

namespace {

const QString HowToChoose = u" - choose the receiver in the window's menu, Receiver"_s;

QString HolderName(const TFtdiChip &chip)
{
    return chip.holderProgram.isEmpty() ? u"another program"_s : chip.holderProgram;
}

QString Holder(const TFtdiChip &chip)
{
    return u"in use by %1 (pid %2)"_s.arg(HolderName(chip)).arg(chip.holderPid);
}

// The chip in the status line's few words.
QString Named(const TFtdiChip &chip)
{
    return chip.serial.isEmpty() ? u"A chip without serial"_s : u"Chip "_s + chip.serial;
}

TReceiverPick Open(qsizetype index)
{
    return {static_cast<int>(index), {}, {}};
}

TReceiverPick Refuse(const QString &inShort, const QString &why)
{
    return {std::nullopt, inShort, why + HowToChoose};
}

// The chip at `index`, unless another program holds its tty.
TReceiverPick OpenUnlessHeld(const QList<TFtdiChip> &chips, qsizetype index)
{
    const TFtdiChip &chip = chips[index];
    if (chip.Held())
        return Refuse(u"%1 is in use by %2: see menu, Receiver"_s.arg(Named(chip), HolderName(chip)),
                      u"The FTDI chip with serial %1 is %2"_s.arg(chip.serial, Holder(chip)));
    return Open(index);
}

// Among the chips with `serial`, the one in `portPath`, else the only one.
std::optional<qsizetype> Find(const QList<TFtdiChip> &chips, const QString &serial, const QString &portPath)
{
    std::optional<qsizetype> only;
    int matches = 0;
    for (qsizetype i = 0; i < chips.size(); ++i) {
        if (chips[i].serial != serial)
            continue;
        if (chips[i].portPath == portPath)
            return i;
        only = i;
        ++matches;
    }
    return matches == 1 ? only : std::nullopt;
}

} // namespace

TReceiverPick PickReceiver(const QList<TFtdiChip> &chips, const TReceiverIdentity &remembered,
                           const std::optional<QString> &required, const TReceiverIdentity &chosen)
{
    if (required) {
        std::optional<qsizetype> index = Find(chips, *required, remembered.portPath);
        for (qsizetype i = 0; !index && i < chips.size(); ++i)
            if (chips[i].serial == *required)
                index = i;
        if (!index) {
            const QString why = u"No FTDI chip has the serial %1 given by --receiver"_s.arg(*required);
            return {std::nullopt, why, why};
        }
        return Open(*index);
    }
    if (!chosen.IsEmpty())
        for (qsizetype i = 0; i < chips.size(); ++i)
            if (chips[i].serial == chosen.serial && chips[i].portPath == chosen.portPath)
                return Open(i);
    if (chips.isEmpty())
        return {};
    if (chips.size() == 1) {
        if (!remembered.IsEmpty() && chips[0].serial != remembered.serial)
            return Refuse(u"%1 is not the last receiver: see menu, Receiver"_s.arg(Named(chips[0])),
                          u"The only FTDI chip found, serial %1, is not the receiver last used"_s.arg(chips[0].serial));
        return OpenUnlessHeld(chips, 0);
    }
    if (!remembered.IsEmpty())
        if (const std::optional<qsizetype> index = Find(chips, remembered.serial, remembered.portPath))
            return OpenUnlessHeld(chips, *index);
    return Refuse(u"%1 FTDI chips: choose one in the menu, Receiver"_s.arg(chips.size()),
                  u"%1 FTDI chips found"_s.arg(chips.size()));
}

QString DescribeChip(const TFtdiChip &chip)
{
    QStringList parts;
    parts << (chip.product.isEmpty() ? u"FTDI chip"_s : chip.product);
    parts << (chip.serial.isEmpty() ? u"no serial"_s : u"serial "_s + chip.serial);
    parts << u"port "_s + chip.portPath;
    if (!chip.tty.isEmpty())
        parts << chip.tty;
    if (chip.Held())
        parts << Holder(chip);
    return parts.join(u", "_s);
}
