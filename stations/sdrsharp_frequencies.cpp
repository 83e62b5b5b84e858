#include "format_readers.h"
#include "reading.h"

#include <QXmlStreamReader>

using namespace Qt::Literals::StringLiterals;

// An entry's notes: whether it is a favourite, its filter's bandwidth, and its shift where it has one.
// XML that breaks off skips the rest of the file, counted once at the line where it broke.
TStationRead ReadSdrSharpFrequencies(QByteArrayView content)
{
    TStationRead read;
    QXmlStreamReader xml(QByteArray::fromRawData(content.data(), content.size()));
    if (!xml.readNextStartElement() || xml.name() != u"ArrayOfMemoryEntry") {
        read.error = xml.hasError()
            ? u"Not a station list: damaged XML (line %1: %2)"_s.arg(xml.lineNumber()).arg(xml.errorString())
            : UnknownFormatError();
        return read;
    }
    read.format = TStationFormat::SdrSharp;
    while (xml.readNextStartElement()) {
        if (xml.name() != u"MemoryEntry") {
            xml.skipCurrentElement();
            continue;
        }
        const int line = static_cast<int>(xml.lineNumber());
        TStation station;
        QString frequency, favourite, bandwidth, shift;
        while (xml.readNextStartElement()) {
            const QString field = xml.name().toString();
            const QString value = xml.readElementText(QXmlStreamReader::SkipChildElements);
            if (field == u"Name")
                station.name = value;
            else if (field == u"GroupName")
                station.list = value;
            else if (field == u"DetectorType")
                station.mode = value;
            else if (field == u"Frequency")
                frequency = value;
            else if (field == u"IsFavourite")
                favourite = value.trimmed();
            else if (field == u"FilterBandwidth")
                bandwidth = value;
            else if (field == u"Shift")
                shift = value.trimmed();
        }
        if (xml.hasError())
            break;
        const THertz hertz = HertzFromDecimal(frequency.toUtf8(), 0);
        if (!hertz.problem.isEmpty()) {
            Skip(read, line, hertz.problem);
            continue;
        }
        station.frequency = hertz.hertz;
        const qint64 shiftHertz = shift.toLongLong();
        station.notes = JoinedNotes({favourite == u"true" ? u"Favourite"_s : QString(),
                                     BandwidthNote(HertzFromDecimal(bandwidth.toUtf8(), 0).hertz),
                                     shiftHertz != 0 ? u"Shift: %1 Hz"_s.arg(shiftHertz) : QString()});
        read.stations.append(std::move(station));
    }
    if (xml.hasError())
        Skip(read, static_cast<int>(xml.lineNumber()), xml.errorString());
    return read;
}
