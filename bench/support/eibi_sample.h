#pragma once

#include <QByteArray>

// A season's schedule of EiBi's shape, `lines` lines of varied frequencies, times, days and
// remarks, some names with Windows-1252 letters, each name numbered as stations repeat with other
// hours.
inline QByteArray EibiSample(int lines)
{
    static const char *const Days[] = {"", "Mo-Fr", "Sa,Su", "1245", "irr", " 234 6"};
    static const char *const Names[] = {"R Caf\xe9 Internacional", "Voice of Greece", "R Nacional Amaz\xf4nia",
                                        "BBC World Service", "Trans World Radio"};
    QByteArray schedule = "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;"
                          "Start:60;Stop:60;\r\n";
    schedule.reserve(lines * 64);
    for (int line = 0; line < lines; ++line) {
        const int start = (line * 37) % 24;
        schedule += QByteArray::number(2300 + (line * 13) % 24000);
        schedule += line % 4 == 0 ? ".5;" : ";";
        schedule += QByteArray::number(start * 100).rightJustified(4, '0') + '-' +
                    QByteArray::number(((start + 2) % 24) * 100).rightJustified(4, '0') + ';';
        schedule += Days[line % 6];
        schedule += ";D;";
        schedule += Names[line % 5];
        schedule += ' ' + QByteArray::number(line % 5000);
        schedule += ";E;Eu;";
        schedule += line % 3 == 0 ? "\x93relay\x94" : "";
        schedule += ";1;;\r\n";
    }
    return schedule;
}
