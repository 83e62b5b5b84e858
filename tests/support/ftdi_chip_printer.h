#pragma once

#include "ftdi_census.h"

#include <QString>

#include <ostream>

// Readable failure messages for the compared lists.
inline void PrintTo(const TFtdiChip &chip, std::ostream *out)
{
    *out << '{' << chip.portPath.toStdString() << " \"" << chip.manufacturer.toStdString() << "\" \""
         << chip.product.toStdString() << "\" serial \"" << chip.serial.toStdString() << "\" bound "
         << chip.serialDriverBound << " tty \"" << chip.tty.toStdString() << "\" by-id \""
         << chip.serialById.toStdString() << "\" holder \"" << chip.holderProgram.toStdString() << "\" "
         << chip.holderPid << '}';
}

// A chip as the census lists it: an FT232R UART with `serial` in the USB port `port`; with a
// `holder`, bound to the serial driver as `tty` and held open there by flrig with that pid.
inline TFtdiChip ListedChip(const QString &serial, const QString &port, qint64 holder = 0,
                            const QString &tty = QStringLiteral("ttyUSB0"))
{
    TFtdiChip chip;
    chip.product = QStringLiteral("FT232R USB UART");
    chip.serial = serial;
    chip.portPath = port;
    if (holder != 0) {
        chip.serialDriverBound = true;
        chip.tty = tty;
        chip.holderProgram = QStringLiteral("flrig");
        chip.holderPid = holder;
    }
    return chip;
}
