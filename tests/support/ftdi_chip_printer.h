#pragma once

#include "ftdi_census.h"

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
