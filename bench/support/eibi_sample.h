#pragma once

#include <QByteArray>

// A season's schedule of EiBi's shape, `lines` lines of varied frequencies, times, days and
// remarks, some names with Windows-1252 letters, each name numbered as stations repeat with other
// hours. Its fields are filled about as often as in season B25: days on one line in six, a
// transmitter site on four in five, a start date on one in eight, a stop date on every other.
inline QByteArray EibiSample(int lines)
{
    static const char *const Days[] = {"", "", "", "", "", "Mo-Fr", "", "", "", "", "", "Sa,Su",
                                       "", "", "", "", "", "1245", "", "", "", "", "", " 234 6"};
    static const char *const Names[] = {"R Caf\xe9 Internacional", "Voice of Greece", "R Nacional Amaz\xf4nia",
                                        "BBC World Service", "Trans World Radio"};
    static const char *const Sites[] = {"gx", "/CLN-t", "\x93relay\x94", "pv", ""};
    QByteArray schedule = "kHz:75;Time(UTC):93;Days:59;ITU:49;Station:201;Lng:49;Target:62;Remarks:135;P:35;"
                          "Start:60;Stop:60;\r\n";
    schedule.reserve(lines * 64);
    for (int line = 0; line < lines; ++line) {
        const int start = (line * 37) % 24;
        schedule += QByteArray::number(2300 + (line * 13) % 24000);
        schedule += line % 4 == 0 ? ".5;" : ";";
        schedule += QByteArray::number(start * 100).rightJustified(4, '0') + '-' +
                    QByteArray::number(((start + 2) % 24) * 100).rightJustified(4, '0') + ';';
        schedule += Days[line % 24];
        schedule += ";D;";
        schedule += Names[line % 5];
        schedule += ' ' + QByteArray::number(line % 5000);
        schedule += ";E;Eu;";
        schedule += Sites[line % 5];
        schedule += ";1;";
        schedule += line % 8 == 0 ? "2503" : "";
        schedule += line % 2 == 0 ? ";[0222]\r\n" : ";\r\n";
    }
    return schedule;
}
