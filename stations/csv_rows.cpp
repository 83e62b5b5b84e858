#include "csv_rows.h"

#include "reading.h"

#include <csv.h>

#include <algorithm>
#include <cstring>

QByteArrayView TCsvRow::Field(qsizetype index) const
{
    if (index < 0 || index >= size())
        return {};
    const std::size_t begin = index == 0 ? 0 : ends[static_cast<std::size_t>(index - 1)];
    return QByteArrayView(fields.data() + begin, static_cast<qsizetype>(ends[static_cast<std::size_t>(index)] - begin));
}

QString TCsvRow::Text(qsizetype index) const
{
    return Utf8Text(Field(index));
}

bool TCsvRow::IsBlank() const
{
    return std::all_of(fields.begin(), fields.end(), [](char c) { return c == ' ' || c == '\t'; });
}

qsizetype TCsvRow::ColumnNamed(QByteArrayView name) const
{
    for (qsizetype column = 0; column < size(); ++column) {
        const QByteArrayView field = Field(column);
        const qsizetype colon = field.indexOf(':');
        if ((colon < 0 ? field : field.first(colon)).trimmed() == name)
            return column;
    }
    return -1;
}

// libcsv tells neither positions nor line numbers; this counts the lines from what it reports.
class TCsvParse
{
public:
    TCsvParse(const std::function<void(const TCsvRow &)> &onRow, bool quoting) : onRow(onRow), quoting(quoting) {}

    static void OnField(void *data, std::size_t size, void *parse)
    {
        TCsvParse &self = *static_cast<TCsvParse *>(parse);
        const char *text = static_cast<const char *>(data);
        if (size > 0)
            self.row.fields.append(text, size);
        // Only a quoted field holds line breaks; CR LF counts once, a lone CR or LF once each.
        if (size > 0 && self.quoting) {
            for (const char *c = text; (c = static_cast<const char *>(std::memchr(c, '\n', size - (c - text)))); ++c)
                ++self.linesInRecord;
            for (const char *c = text; (c = static_cast<const char *>(std::memchr(c, '\r', size - (c - text)))); ++c)
                if (c + 1 == text + size || c[1] != '\n')
                    ++self.linesInRecord;
        }
        self.row.ends.push_back(self.row.fields.size());
    }

    // With CSV_REPALL_NL every unquoted CR and LF ends a record, an empty one where no field came
    // before it: the LF of a CR LF, or a blank line.
    static void OnRecordEnd(int terminator, void *parse)
    {
        TCsvParse &self = *static_cast<TCsvParse *>(parse);
        if (self.row.ends.empty()) {
            if (!(terminator == '\n' && self.afterCr))
                ++self.nextLine;
        } else {
            self.row.line = self.nextLine;
            if (!self.row.IsBlank())
                self.onRow(self.row);
            self.nextLine += 1 + self.linesInRecord;
        }
        self.afterCr = terminator == '\r';
        self.linesInRecord = 0;
        self.row.fields.clear();
        self.row.ends.clear();
    }

private:
    const std::function<void(const TCsvRow &)> &onRow;
    const bool quoting;
    TCsvRow row;
    int nextLine = 1;
    int linesInRecord = 0;
    bool afterCr = false;
};

namespace {

int NoPadding(unsigned char)
{
    return 0;
}

} // namespace

QString ForEachCsvRow(QByteArrayView content, TCsvDialect dialect, const std::function<void(const TCsvRow &)> &onRow)
{
    csv_parser parser;
    csv_init(&parser, CSV_REPALL_NL);
    csv_set_delim(&parser, static_cast<unsigned char>(dialect.delimiter));
    // Formats without quoting get NUL as their quote: no text holds one.
    csv_set_quote(&parser, dialect.quoting ? CSV_QUOTE : '\0');
    if (!dialect.trimming)
        csv_set_space_func(&parser, NoPadding);
    TCsvParse parse(onRow, dialect.quoting);
    const auto size = static_cast<std::size_t>(content.size());
    const bool whole =
        csv_parse(&parser, content.data(), size, TCsvParse::OnField, TCsvParse::OnRecordEnd, &parse) == size
        && csv_fini(&parser, TCsvParse::OnField, TCsvParse::OnRecordEnd, &parse) == 0;
    const QString complaint = whole ? QString() : QString::fromLatin1(csv_strerror(csv_error(&parser)));
    csv_free(&parser);
    return complaint;
}

QByteArray CsvRecord(const QStringList &fields)
{
    QByteArray record;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            record += ',';
        const QByteArray bytes = fields[i].toUtf8();
        if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') && !bytes.contains('\n')) {
            record += bytes;
            continue;
        }
        record += '"';
        record += QByteArray(bytes).replace('"', "\"\"");
        record += '"';
    }
    return record + "\r\n";
}
