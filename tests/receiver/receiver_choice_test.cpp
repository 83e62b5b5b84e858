#include "ftdi_chip_printer.h"
#include "qt_printers.h"
#include "receiver_choice.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString HowToChoose = u" - choose the receiver in the window's menu, Receiver"_s;

} // namespace

// Each row: the chips listed, what is remembered, the command line's serial, the user's choice,
// and the chip opened (-1: none) with the status text.
TEST(ReceiverChoiceTest, OpensTheReceiverAndNeverAnotherChipByItself)
{
    const TFtdiChip receiver = ListedChip(u"RX1"_s, u"1-1.2"_s);
    const TFtdiChip cat = ListedChip(u"CAT7"_s, u"1-1.3"_s, 1234);
    const TFtdiChip twinA = ListedChip(u"00000001"_s, u"1-2"_s);
    const TFtdiChip twinB = ListedChip(u"00000001"_s, u"1-3"_s);
    const struct
    {
        QList<TFtdiChip> chips;
        TReceiverIdentity remembered;
        std::optional<QString> required;
        TReceiverIdentity chosen;
        int opened;
        QString detail; // the whole refusal
    } cases[] = {
        {{}, {}, {}, {}, -1, {}},
        {{receiver}, {}, {}, {}, 0, {}},
        {{receiver}, {u"RX1"_s, u"2-1"_s}, {}, {}, 0, {}},
        {{cat}, {u"RX1"_s, u"1-1.2"_s}, {}, {}, -1,
         u"The only FTDI chip found, serial CAT7, is not the receiver last used"_s + HowToChoose},
        {{cat}, {}, {}, {}, -1, u"The FTDI chip with serial CAT7 is in use by flrig (pid 1234)"_s + HowToChoose},
        {{cat, receiver}, {u"RX1"_s, {}}, {}, {}, 1, {}},
        {{receiver, cat}, {}, {}, {}, -1, u"2 FTDI chips found"_s + HowToChoose},
        {{receiver, cat}, {u"CAT7"_s, u"1-1.3"_s}, {}, {}, -1,
         u"The FTDI chip with serial CAT7 is in use by flrig (pid 1234)"_s + HowToChoose},
        {{twinA, twinB}, {u"00000001"_s, u"1-3"_s}, {}, {}, 1, {}},
        {{twinA, twinB}, {u"00000001"_s, u"1-4"_s}, {}, {}, -1, u"2 FTDI chips found"_s + HowToChoose},
        {{receiver, cat}, {}, u"CAT7"_s, {}, 1, {}},
        {{twinA, twinB}, {u"00000001"_s, u"1-3"_s}, u"00000001"_s, {}, 1, {}},
        {{receiver, cat}, {u"RX1"_s, {}}, u"RX9"_s, {}, -1, u"No FTDI chip has the serial RX9 given by --receiver"_s},
        {{receiver, cat}, {u"RX1"_s, {}}, {}, {u"CAT7"_s, u"1-1.3"_s}, 1, {}},
        {{receiver, cat}, {u"RX1"_s, {}}, {}, {u"CAT7"_s, u"1-1.4"_s}, 0, {}},
    };
    int row = 0;
    for (const auto &c : cases) {
        const TReceiverPick pick = PickReceiver(c.chips, c.remembered, c.required, c.chosen);
        EXPECT_EQ(pick.chip.value_or(-1), c.opened) << "row " << row;
        EXPECT_EQ(pick.detail, c.detail) << "row " << row;
        EXPECT_EQ(pick.refusal.isEmpty(), c.detail.isEmpty()) << "row " << row;
        ++row;
    }
}

TEST(ReceiverChoiceTest, DescribesAChipInOneLine)
{
    EXPECT_EQ(DescribeChip(ListedChip(u"CAT7"_s, u"1-1.3"_s, 1234)),
              u"FT232R USB UART, serial CAT7, port 1-1.3, ttyUSB0, in use by flrig (pid 1234)"_s);
    TFtdiChip bare;
    bare.portPath = u"2-1"_s;
    EXPECT_EQ(DescribeChip(bare), u"FTDI chip, no serial, port 2-1"_s);
}
