#pragma once

#include "station.h"

#include <QAbstractTableModel>
#include <QDateTime>

#include <optional>
#include <vector>

// The stations of every imported list as a table, filtered and sorted here rather than through a
// proxy: a search keystroke over 100,000 stations looks through one text, every station's words
// folded to lower case end to end when the stations are set, and maps each find to its station.
class TStationTable : public QAbstractTableModel
{
public:
    enum TColumn { Frequency, Name, List, Mode, Hours, Days, Language, Target, Notes, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // Stations with their words made ready for searching: made off the event loop's thread where
    // there are many, as making them is most of the cost of showing 100,000 stations.
    struct TIndexed
    {
        QList<TStation> stations;
        QString searchText;                  // lower case, each station's words then '\n'
        std::vector<qsizetype> searchStarts; // where each station's words begin in it, and the end
    };
    static TIndexed Index(QList<TStation> stations);

    void SetStations(TIndexed indexed);
    // Shows only the stations whose name, list, mode, language, target, notes or frequency in kHz
    // hold the text, whatever its case.
    void SetSearch(const QString &text);
    // Shows only the stations on the air at that time, or all.
    void SetOnAirAt(const std::optional<QDateTime> &utc);
    // Shows only the stations within `span` hertz of `hertz`, or all.
    void SetNear(std::optional<qint64> hertz, qint64 span);
    // Shows the stations beyond the receiver's range too, or (as at first) only those it tunes.
    void SetBeyondRangeShown(bool shown);
    // Stations that the other filters let through but that are hidden as beyond the range.
    int HiddenBeyondRange() const { return hiddenBeyondRange; }

    // The station shown in a row.
    const TStation &StationAt(int row) const { return indexed.stations[shown[static_cast<std::size_t>(row)]]; }
    int StationCount() const { return static_cast<int>(indexed.stations.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void sort(int column, Qt::SortOrder order) override;

    // The frequency as the readout shows it ("7,074.000"), the hours as "2300-0100".
    static QString FrequencyText(qint64 hertz);
    static QString HoursText(const TStation &station);

private:
    // A change to what is shown, made within one reset of the model, then filtered and sorted anew.
    template <typename TChange> void Reshow(TChange change)
    {
        beginResetModel();
        change();
        Filter();
        Sort();
        endResetModel();
    }
    void Filter();
    void Sort();

    TIndexed indexed;
    std::vector<int> shown;           // indices into stations, in the order shown
    QString search;
    std::optional<QDateTime> onAirAt;
    std::optional<qint64> near;
    qint64 nearSpan = 0;
    bool beyondRangeShown = false;
    int hiddenBeyondRange = 0;
    int sortColumn = Frequency;
    Qt::SortOrder sortOrder = Qt::AscendingOrder;
};
