#include "ListView.h"

#include "Images.h"
#include "StringTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

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

namespace {

// A report-style list shows focus and hover for the whole row: the view draws the row's focus
// frame, and every cell of the row under the pointer is drawn as hovered, not only that cell.
class RowDelegate final : public QStyledItemDelegate
{
public:
    explicit RowDelegate(ListView &view)
        : QStyledItemDelegate(&view)
        , m_view(view)
    {}
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell(option);
        cell.state &= ~QStyle::State_HasFocus;
        cell.state.setFlag(QStyle::State_MouseOver, index.row() == m_view.hoveredRow());
        QStyledItemDelegate::paint(painter, cell, index);
    }

private:
    const ListView &m_view;
};

} // namespace

ListView::ListView(int controlId, ListModel &model, QWidget *parent)
    : QTableView(parent)
    , m_model(model)
{
    setObjectName(QStringLiteral("control%1").arg(controlId));
    setProperty("controlId", controlId);
    setItemDelegate(new RowDelegate(*this));
    setModel(&model);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::Box);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header()->setHighlightSections(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    fitRowHeight();
    connect(header(), &QHeaderView::sectionClicked, this, &ListView::columnTapped);
    connect(this, &QAbstractItemView::clicked, this, &ListView::rowTapped);
}

void ListView::fitRowHeight()
{
    // Every row holds an image and one line of text: the height a row of them needs.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.text = QStringLiteral("0");
    option.decorationSize = iconSize();
    const int height =
        style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(height);
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
    QTableView::keyPressEvent(event);
}

QModelIndex ListView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // The keys move through rows only: Home and End to the first and last row, Left and Right
    // scroll the columns.
    const int rows = model()->rowCount();
    switch (action) {
    case MoveHome:
        return rows > 0 ? model()->index(0, 0) : QModelIndex();
    case MoveEnd:
        return rows > 0 ? model()->index(rows - 1, 0) : QModelIndex();
    case MoveLeft:
    case MoveRight:
        horizontalScrollBar()->triggerAction(action == MoveLeft
                                                 ? QAbstractSlider::SliderSingleStepSub
                                                 : QAbstractSlider::SliderSingleStepAdd);
        return currentIndex();
    default:
        return QTableView::moveCursor(action, modifiers);
    }
}

void ListView::initViewItemOption(QStyleOptionViewItem *option) const
{
    QTableView::initViewItemOption(option);
    option->showDecorationSelected = true; // the whole row is selected, image included
}

void ListView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid())
        return;
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.state |= QStyle::State_KeyboardFocusChange;
    const bool selected = selectionModel()->isRowSelected(current.row(), {});
    frame.backgroundColor = palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled,
                                            selected ? QPalette::Highlight : QPalette::Window);
    frame.rect = QRect(-header()->offset(), rowViewportPosition(current.row()), header()->length(),
                       rowHeight(current.row()));
    QPainter painter(viewport());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
}

bool ListView::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
        setHoveredRow(rowAt(static_cast<QHoverEvent *>(event)->position().toPoint().y()));
        break;
    case QEvent::HoverLeave:
        setHoveredRow(-1);
        break;
    default:
        break;
    }
    return QTableView::viewportEvent(event);
}

void ListView::setHoveredRow(int row)
{
    if (row == m_hoveredRow)
        return;
    for (int changed : {m_hoveredRow, row}) {
        if (changed >= 0)
            viewport()->update(
                QRect(0, rowViewportPosition(changed), viewport()->width(), rowHeight(changed)));
    }
    m_hoveredRow = row;
}

void ListView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitRowHeight();
}

} // namespace tripvane
