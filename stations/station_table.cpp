#include "station_table.h"

#include "receiver_range.h"

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

// Written out by hand: the table makes one for each of 100,000 stations when they are set.
QString TStationTable::FrequencyText(qint64 hertz)
{
    const qint64 kilohertz = hertz / 1000;
    QString digits = QString::number(kilohertz);
    for (qsizetype at = digits.size() - 3; at > (kilohertz < 0 ? 1 : 0); at -= 3)
        digits.insert(at, u',');
    return digits + u'.' + QString::number(std::abs(hertz % 1000)).rightJustified(3, u'0');
}

QString TStationTable::HoursText(const TStation &station)
{
    return station.HasTimes() ? Hhmm(station.startUtc) + u'-' + Hhmm(station.stopUtc) : QString();
}

TStationTable::TIndexed TStationTable::Index(QList<TStation> stations)
{
    TIndexed indexed;
    indexed.stations = std::move(stations);
    QString &text = indexed.searchText;
    indexed.searchStarts.reserve(static_cast<std::size_t>(indexed.stations.size()) + 1);
    for (const TStation &s : std::as_const(indexed.stations)) {
        indexed.searchStarts.push_back(text.size());
        for (const QString *part : {&s.name, &s.list, &s.mode, &s.language, &s.target, &s.notes})
            text += *part + u'\t';
        text += FrequencyText(s.frequency) + u'\n';
    }
    indexed.searchStarts.push_back(text.size());
    text = std::move(text).toLower();
    return indexed;
}

void TStationTable::SetStations(TIndexed newStations)
{
    Reshow([&] { indexed = std::move(newStations); });
}

void TStationTable::SetSearch(const QString &text)
{
    const QString folded = text.trimmed().toLower();
    if (folded != search)
        Reshow([&] { search = folded; });
}

void TStationTable::SetOnAirAt(const std::optional<QDateTime> &utc)
{
    if (utc != onAirAt)
        Reshow([&] { onAirAt = utc; });
}

void TStationTable::SetNear(std::optional<qint64> hertz, qint64 span)
{
    if (hertz != near || span != nearSpan)
        Reshow([&] {
            near = hertz;
            nearSpan = span;
        });
}

void TStationTable::SetBeyondRangeShown(bool shown)
{
    if (shown != beyondRangeShown)
        Reshow([&] { beyondRangeShown = shown; });
}

void TStationTable::Filter()
{
    // Which stations hold the search text: each find in the whole text belongs to the station
    // whose words it starts in, and counts where it ends within them.
    std::vector<bool> found;
    if (!search.isEmpty()) {
        found.assign(static_cast<std::size_t>(indexed.stations.size()), false);
        for (qsizetype at = indexed.searchText.indexOf(search); at >= 0;) {
            const auto next = std::upper_bound(indexed.searchStarts.begin(), indexed.searchStarts.end(), at);
            const auto station = static_cast<std::size_t>(next - indexed.searchStarts.begin() - 1);
            if (at + search.size() <= *next) {
                found[station] = true;
                at = indexed.searchText.indexOf(search, *next);
            } else {
                at = indexed.searchText.indexOf(search, at + 1);
            }
        }
    }
    shown.clear();
    hiddenBeyondRange = 0;
    for (int i = 0; i < indexed.stations.size(); ++i) {
        const TStation &s = indexed.stations[i];
        if (!found.empty() && !found[static_cast<std::size_t>(i)])
            continue;
        if (near && std::abs(s.frequency - *near) > nearSpan)
            continue;
        if (onAirAt && !OnAirAt(s, *onAirAt))
            continue;
        if (!beyondRangeShown && !ReceiverRange::Holds(s.frequency)) {
            ++hiddenBeyondRange;
            continue;
        }
        shown.push_back(i);
    }
}

void TStationTable::sort(int column, Qt::SortOrder order)
{
    beginResetModel();
    sortColumn = column;
    sortOrder = order;
    Sort();
    endResetModel();
}

void TStationTable::Sort()
{
    // Stable, so that equal keys keep the lists' own order.
    std::stable_sort(shown.begin(), shown.end(), [&](int a, int b) {
        const TStation &x = indexed.stations[a];
        const TStation &y = indexed.stations[b];
        int order = 0;
        switch (sortColumn) {
        case Frequency: order = x.frequency < y.frequency ? -1 : x.frequency > y.frequency; break;
        case Hours: order = x.startUtc < y.startUtc ? -1 : x.startUtc > y.startUtc; break;
        default: {
            const auto text = [this](const TStation &s) -> const QString & {
                switch (sortColumn) {
                case Name: return s.name;
                case List: return s.list;
                case Mode: return s.mode;
                case Days: return s.days;
                case Language: return s.language;
                case Target: return s.target;
                default: return s.notes;
                }
            };
            order = QString::compare(text(x), text(y), Qt::CaseInsensitive);
        }
        }
        return sortOrder == Qt::AscendingOrder ? order < 0 : order > 0;
    });
}

int TStationTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(shown.size());
}

int TStationTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TStationTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TStation &s = StationAt(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == Frequency)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    switch (index.column()) {
    case Frequency: return FrequencyText(s.frequency);
    case Name: return s.name;
    case List: return s.list;
    case Mode: return s.mode;
    case Hours: return HoursText(s);
    case Days: return s.days;
    case Language: return s.language;
    case Target: return s.target;
    case Notes: return s.notes;
    default: return {};
    }
}

QVariant TStationTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    static const char *const titles[ColumnCount] = {"kHz", "Name", "List", "Mode", "UTC", "Days",
                                                    "Language", "Target", "Notes"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(titles[section]) : QVariant();
}
