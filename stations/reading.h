#pragma once

#include "station_reader.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <initializer_list>
#include <vector>

class TCsvRow;

// Far above any receiver, and low enough that no reading of a frequency overflows.
constexpr qint64 MaxFrequencyHz = 1'000'000'000'000;

// A frequency read from a list, or why it cannot be.
struct THertz
{
    qint64 hertz = 0;
    QString problem; // empty when read
};

// A decimal number of units of 10^unitDigits hertz ("146.520000" MHz with 6, "4999.5" kHz with 3)
// to whole hertz, from its digits, rounding half a hertz up.
THertz HertzFromDecimal(QByteArrayView text, int unitDigits);
// A JSON number of hertz, rounded to whole hertz.
THertz HertzFromNumber(double hertz);

// "HHMM" to minutes after midnight; "2400" only as a stop. -1 for anything else.
int MinutesFromHhmm(QByteArrayView text, bool asStop);

// "Bandwidth: 2400 Hz", or nothing for no bandwidth.
QString BandwidthNote(qint64 hertz);
// The parts that say something, joined by "; ".
QString JoinedNotes(std::initializer_list<QString> parts);

// UTF-8 to text, keeping a byte order mark at the start, which QString::fromUtf8 drops: at the
// start of a field it is a character of the field.
QString Utf8Text(QByteArrayView bytes);

// Text from a list, quoted and cut short, fit for a one-line reason.
QString Shown(QByteArrayView text);

// Room for a station a line, as nearly every line of a CSV list is one.
void ReserveStationALine(TStationRead &read, QByteArrayView content);

// Counts a record that could not be read, naming the first few.
void Skip(TStationRead &read, int line, const QString &reason);
bool NamesNextSkip(const TStationRead &read);
// Skips `row` unless it has as many fields as the list's header.
bool HasHeaderFieldCount(const TCsvRow &row, qsizetype headerFields, TStationRead &read);

// A CSV list whose first record names its columns: the columns of `names` are found there by name
// (-1 where one is missing, in the order of `names`). The first is the frequency, a decimal number
// of 10^`power` hertz; each later record with as many fields as the header and a frequency becomes
// a station, which `describe` fills in from the other columns; others are skipped. Nothing is read
// unless the header names the frequency's column: `read.error` then says so in `missing`, as it
// says libcsv's complaint.
using TCsvColumns = std::vector<qsizetype>;
void ReadNamedColumns(QByteArrayView content, std::initializer_list<QByteArrayView> names, int power,
                      const QString &missing, TStationRead &read,
                      const std::function<void(const TCsvRow &, const TCsvColumns &, TStation &)> &describe);

QString UnknownFormatError();
