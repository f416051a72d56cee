#include "ListView.h"

#include "Images.h"
#include "StringTable.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace tripvane {

ListModel::ListModel(std::vector<ListColumn> columns, ListRows rows, std::vector<int> headerImages,
                     QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(std::move(columns))
    , m_rows(std::move(rows))
    , m_headerImages(std::move(headerImages))
{
    m_headerImages.resize(m_columns.size(), NoImage);
}

int ListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.count();
}

int ListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_rows.text(index.row(), index.column());
    case Qt::DecorationRole:
    case ImageRole:
        if (index.column() != 0)
            return {};
        return role == ImageRole ? QVariant(m_rows.image(index.row()))
                                 : QVariant(listImage(m_rows.image(index.row())));
    case Qt::TextAlignmentRole:
        if (m_columns[std::size_t(index.column())].rightAligned)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return loadString(m_columns[std::size_t(section)].nameId);
    if (role == Qt::DecorationRole && headerImage(section) != NoImage)
        return listImage(headerImage(section));
    return {};
}

void ListModel::setHeaderImage(int column, int image)
{
    m_headerImages.at(std::size_t(column)) = image;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ListModel::beginAppendRow()
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
}

void ListModel::rowChanged(int row)
{
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

ListView::ListView(int controlId, ListModel &model, QWidget *parent)
    : QTreeView(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("control%1").arg(controlId));
    setProperty("controlId", controlId);
    setModel(&model);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::Box);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &ListView::columnTapped);
    connect(this, &QAbstractItemView::clicked, this, &ListView::rowTapped);
}

int ListView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ListView::selectRow(int row)
{
    if (row < 0 || row >= model()->rowCount())
        return;
    const QModelIndex index = model()->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

void ListView::setColumnWidths(bool portrait)
{
    const std::vector<ListColumn> &columns = m_model.columns();
    for (std::size_t column = 0; column < columns.size(); ++column)
        setColumnWidth(int(column),
                       portrait ? columns[column].portraitWidth : columns[column].wideWidth);
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    // Enter on a row asks for it; with no row it goes on to the dialog's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (selectedRow() >= 0)
            emit rowTapped();
        else
            event->ignore();
        return;
    }
    QTreeView::keyPressEvent(event);
}

} // namespace tripvane
