#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>
#include <vector>

// How a list writes its fields.
struct TCsvDialect
{
    char delimiter = ',';
    bool quoting = true;   // RFC 4180 quotes; false where a quote is an ordinary character
    bool trimming = false; // spaces and tabs around a field are padding, not part of it
};

// One record as libcsv hands it over, its fields still in the content's encoding.
class TCsvRow
{
public:
    int line = 0; // the physical line the record starts on, from 1

    qsizetype size() const { return static_cast<qsizetype>(ends.size()); }
    // The field at `index`; empty past either end, so a missing column reads as an empty one.
    QByteArrayView Field(qsizetype index) const;
    QString Text(qsizetype index) const;
    bool IsBlank() const;
    // In a header record: the column named `name`, up to any ':' (EiBi puts widths after one); -1 where none.
    qsizetype ColumnNamed(QByteArrayView name) const;

private:
    friend class TCsvParse;
    std::string fields; // all fields of the record end to end, reused from record to record
    std::vector<std::size_t> ends;
};

// One record as RFC 4180 writes it: fields joined by ',', a field quoted only where it holds a
// ',', a quote, CR or LF (its quotes doubled), and CRLF after it.
QByteArray CsvRecord(const QStringList &fields);

// Hands each record to `onRow` in order, records with nothing but empty fields left out. Returns
// libcsv's complaint where it gave up (only for want of memory), else nothing.
QString ForEachCsvRow(QByteArrayView content, TCsvDialect dialect, const std::function<void(const TCsvRow &)> &onRow);
