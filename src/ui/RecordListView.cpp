#include "RecordListView.h"

#include "AppSettings.h"
#include "Images.h"
#include "StringTable.h"
#include "TextRules.h"
#include "TripLog.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace tripvane {

RecordListModel::RecordListModel(const TripLog &log, const AppSettings &settings, QObject *parent)
    : QAbstractTableModel(parent)
    , m_log(log)
    , m_settings(settings)
{
    connect(&log, &TripLog::tripsAboutToReset, this, &RecordListModel::beginResetModel);
    connect(&log, &TripLog::tripsReset, this, &RecordListModel::endResetModel);
    connect(&log, &TripLog::tripAboutToAppend, this, [this] {
        const int row = rowCount();
        beginInsertRows({}, row, row);
    });
    connect(&log, &TripLog::tripAppended, this, &RecordListModel::endInsertRows);
    connect(&log, &TripLog::tripChanged, this,
            [this](int row) { emit dataChanged(index(row, 0), index(row, 2)); });
    connect(&log, &TripLog::tripAboutToRemove, this,
            [this](int row) { beginRemoveRows({}, row, row); });
    connect(&log, &TripLog::tripRemoved, this, &RecordListModel::endRemoveRows);
}

int RecordListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_log.trips().size());
}

int RecordListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant RecordListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const MileageRecord &record = m_log.trips().at(ListPosition(index.row()));
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return record.dateTextFor(m_settings.DateTypeView);
        case 1:
            return record.category;
        case 2:
            return record.distanceTextFor(m_settings.DistanceTypeView);
        }
    } else if ((role == Qt::DecorationRole || role == ImageRole) && index.column() == 0) {
        const int image = stripBlanks(record.memo).isEmpty() ? ImageNoMemo : ImageMemo;
        return role == ImageRole ? QVariant(image) : QVariant(listImage(image));
    } else if (role == Qt::TextAlignmentRole && index.column() == 2) {
        return int(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant RecordListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return loadString(IDS_DATE_COLUMN + section);
    if (role == Qt::DecorationRole && section == 0)
        return listImage(m_dateHeaderImage);
    return {};
}

void RecordListModel::setDateHeaderImage(int image)
{
    m_dateHeaderImage = image;
    emit headerDataChanged(Qt::Horizontal, 0, 0);
}

RecordListView::RecordListView(RecordListModel &model, QWidget *parent)
    : QTreeView(parent)
{
    setObjectName(QStringLiteral("control500"));
    setProperty("controlId", 500);
    setModel(&model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::Box);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &RecordListView::columnTapped);
    connect(this, &QAbstractItemView::clicked, this, &RecordListView::rowTapped);
}

int RecordListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void RecordListView::selectRow(int row)
{
    if (row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void RecordListView::setLayoutWidths(bool portrait)
{
    const int widths[2][3] = {{75, 70, 60}, {75, 75, 70}};
    for (int column = 0; column < 3; ++column)
        setColumnWidth(column, widths[portrait ? 1 : 0][column]);
}

void RecordListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit rowTapped();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace tripvane
