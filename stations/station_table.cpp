#include "station_table.h"

#include <QLocale>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

QString TStationTable::FrequencyText(qint64 hertz)
{
    return QLocale(QLocale::English).toString(static_cast<double>(hertz) / 1000.0, 'f', 3);
}

QString TStationTable::HoursText(const TStation &station)
{
    return station.HasTimes() ? Hhmm(station.startUtc) + u'-' + Hhmm(station.stopUtc) : QString();
}

void TStationTable::SetStations(QList<TStation> newStations)
{
    beginResetModel();
    stations = std::move(newStations);
    searchTexts.clear();
    searchTexts.reserve(static_cast<std::size_t>(stations.size()));
    for (const TStation &s : std::as_const(stations))
        searchTexts.push_back(QStringList{s.name, s.list, s.mode, s.language, s.target, s.notes,
                                          FrequencyText(s.frequency)}
                                  .join(u'\n')
                                  .toLower());
    Filter();
    Sort();
    endResetModel();
}

void TStationTable::SetSearch(const QString &text)
{
    const QString folded = text.trimmed().toLower();
    if (folded == search)
        return;
    beginResetModel();
    search = folded;
    Filter();
    Sort();
    endResetModel();
}

void TStationTable::SetOnAirAt(const std::optional<QDateTime> &utc)
{
    if (utc == onAirAt)
        return;
    beginResetModel();
    onAirAt = utc;
    Filter();
    Sort();
    endResetModel();
}

void TStationTable::SetNear(std::optional<qint64> hertz, qint64 span)
{
    if (hertz == near && span == nearSpan)
        return;
    beginResetModel();
    near = hertz;
    nearSpan = span;
    Filter();
    Sort();
    endResetModel();
}

void TStationTable::Filter()
{
    shown.clear();
    for (int i = 0; i < stations.size(); ++i) {
        const TStation &s = stations[i];
        if (!search.isEmpty() && !searchTexts[static_cast<std::size_t>(i)].contains(search))
            continue;
        if (near && std::abs(s.frequency - *near) > nearSpan)
            continue;
        if (onAirAt && !OnAirAt(s, *onAirAt))
            continue;
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
        const TStation &x = stations[a];
        const TStation &y = stations[b];
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
