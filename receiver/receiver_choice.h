#pragma once

#include "ftdi_census.h"

#include <QList>
#include <QString>

#include <optional>

// The receiver's chip as remembered between runs, or as chosen for this run.
struct TReceiverIdentity
{
    QString serial;
    QString portPath;

    bool IsEmpty() const { return serial.isEmpty() && portPath.isEmpty(); }
};

// Which chip to open, of those the census lists.
struct TReceiverPick
{
    // The chip to open, an index into the census's list; none when `refusal` says why, or when
    // the census lists no chip (then the first FTDI chip the library finds is opened, as always).
    std::optional<int> chip;
    QString refusal; // short enough for the main window's status line
    QString detail;  // the whole of it: which chip, why, and where to choose
};

// The rule that keeps the receiver's chip apart from other FTDI chips (a CAT cable, a
// programmer), without opening any:
// - `required` (a serial from the command line): the chip with that serial, whatever else;
// - `chosen` (by the user this run): the chip in that port with that serial;
// - one chip: opened unless it is not the remembered receiver or another program holds its tty;
// - several: the one with the remembered serial, the remembered port telling apart chips that
//   share a serial; never one whose tty another program holds.
// Otherwise nothing is opened; the refusal says why in short, its detail how to choose.
TReceiverPick PickReceiver(const QList<TFtdiChip> &chips, const TReceiverIdentity &remembered,
                           const std::optional<QString> &required, const TReceiverIdentity &chosen);

// One line describing a chip for the user: "FT232R USB UART, serial A50285BI, port 1-1.2,
// ttyUSB0, in use by flrig (pid 1234)".
QString DescribeChip(const TFtdiChip &chip);
