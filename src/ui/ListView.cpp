#include "ListView.h"

#include "Images.h"
#include "StringTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>

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

    // A screen reader names the list by its columns.
    QStringList names;
    for (int column = 0; column < model.columnCount(); ++column)
        names.append(model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString());
    setAccessibleName(names.join(QStringLiteral(", ")));

    // The columns follow what the rows show: an amount that grows widens its column.
    // Rows that arrive while the list has the focus give it a current row.
    const auto refit = [this] {
        fitColumns();
        if (hasFocus())
            giveCurrentRow();
    };
    connect(&model, &QAbstractItemModel::modelReset, this, refit);
    connect(&model, &QAbstractItemModel::rowsInserted, this, refit);
    connect(&model, &QAbstractItemModel::rowsRemoved, this, refit);
    connect(&model, &QAbstractItemModel::dataChanged, this, refit);
    // A long list measures only the rows in view, which change as it scrolls.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (m_model.rowCount() > MeasuredInFull)
            fitColumns();
    });
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
    m_portrait = portrait;
    fitColumns();
}

int ListView::widestCell(int column) const
{
    // What is never cut, of every row of a short list; of a long one, and of other text, the
    // rows in view. A cell takes what the view draws: its image and margins too.
    const int rows = model()->rowCount();
    int first = 0;
    int last = rows - 1;
    if (rows > MeasuredInFull || !m_model.columns()[std::size_t(column)].neverCut()) {
        first = std::max(0, rowAt(0));
        last = rowAt(viewport()->height() - 1);
        last = last < 0
                   ? std::min(rows - 1, first + viewport()->height() / std::max(1, rowHeight(0)))
                   : last;
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int widest = 0;
    for (int row = first; row <= last; ++row)
        widest =
            std::max(widest, itemDelegate()->sizeHint(option, model()->index(row, column)).width());
    return widest;
}

void ListView::fitColumns()
{
    // The design's widths, made to fit the list: amounts and dates are never cut. The other
    // text columns give up what the list lacks, so that no horizontal scroll bar is needed: first
    // what they hold beyond their widest cell, then the last of them first, as a cut category reads
    // more easily than a cut date.
    const std::vector<ListColumn> &columns = m_model.columns();
    std::vector<int> widths;
    std::vector<int> whole;
    int total = 0;
    for (std::size_t column = 0; column < columns.size(); ++column) {
        int width = m_portrait ? columns[column].portraitWidth : columns[column].wideWidth;
        whole.push_back(widestCell(int(column)));
        if (columns[column].neverCut())
            width = std::max(width, whole.back());
        widths.push_back(width);
        total += width;
    }
    const int rowsHeight = model()->rowCount() * verticalHeader()->defaultSectionSize();
    const QSize room = maximumViewportSize();
    const bool scrolls = rowsHeight > room.height() - header()->height();
    const int available =
        room.width() -
        (scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0);
    constexpr int Narrowest = 24;
    const auto giveUp = [&](std::size_t column, int floor) {
        const int given = std::clamp(widths[column] - floor, 0, std::max(0, total - available));
        widths[column] -= given;
        total -= given;
    };
    std::vector<std::size_t> texts;
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (!columns[column].neverCut())
            texts.push_back(column);
    }
    std::ranges::sort(texts, std::greater{},
                      [&](std::size_t column) { return widths[column] - whole[column]; });
    for (std::size_t column : texts)
        giveUp(column, std::max(whole[column], Narrowest));
    std::ranges::sort(texts, std::greater{});
    for (std::size_t column : texts)
        giveUp(column, Narrowest);
    for (std::size_t column = 0; column < widths.size(); ++column)
        if (columnWidth(int(column)) != widths[column])
            setColumnWidth(int(column), widths[column]);
}

void ListView::updateGeometries()
{
    QTableView::updateGeometries();
    showWholeRowsFromTheTop();
}

void ListView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    showWholeRowsFromTheTop();
}

void ListView::showWholeRowsFromTheTop()
{
    // At the end of its range the view lines the last row up with the bottom, which cuts the top
    // row; the range counts whole rows, so from the top row on they all fit.
    const int top = verticalScrollBar()->value();
    if (top <= 0 || top >= model()->rowCount() || rowViewportPosition(top) == 0)
        return;
    verticalHeader()->setOffsetToSectionPosition(top);
    viewport()->update();
}

void ListView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    fitColumns();
}

void ListView::giveCurrentRow()
{
    // The focus mark needs a row to stand on: the chosen one, else the first.
    if (!currentIndex().isValid() && model()->rowCount() > 0)
        selectionModel()->setCurrentIndex(model()->index(std::max(0, selectedRow()), 0),
                                          QItemSelectionModel::NoUpdate);
}

void ListView::hideEvent(QHideEvent *event)
{
    // A reader takes the cells of a hidden list for shown ones, and its current cell for the
    // focus beside that of the dialog on top: while it is away the list shows the rows under
    // its first row, which are none, and has no current row.
    m_rowWhileHidden = currentIndex().row();
    m_scrollWhileHidden = verticalScrollBar()->value();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (model()->rowCount() > 0)
        setRootIndex(model()->index(0, 0));
    QTableView::hideEvent(event);
}

void ListView::showEvent(QShowEvent *event)
{
    if (rootIndex().isValid()) {
        setRootIndex(QModelIndex());
        executeDelayedItemsLayout(); // the scroll bar's range again, for its place
        verticalScrollBar()->setValue(m_scrollWhileHidden);
    }
    QTableView::showEvent(event);
    if (!currentIndex().isValid() && m_rowWhileHidden >= 0 &&
        m_rowWhileHidden < model()->rowCount())
        selectionModel()->setCurrentIndex(model()->index(m_rowWhileHidden, 0),
                                          QItemSelectionModel::NoUpdate);
    m_rowWhileHidden = -1;
}

void ListView::focusInEvent(QFocusEvent *event)
{
    giveCurrentRow();
    QTableView::focusInEvent(event);
}

void ListView::keyPressEvent(QKeyEvent *event)
{
    // Enter acts on the row the focus mark stands on, as a tap does; an empty list passes it
    // on to the dialog's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        giveCurrentRow();
        if (selectedRow() < 0 && currentIndex().isValid())
            selectRow(currentIndex().row());
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
    if (!hasFocus())
        return;
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.state |= QStyle::State_KeyboardFocusChange;
    const bool selected = current.isValid() && selectionModel()->isRowSelected(current.row(), {});
    frame.backgroundColor = palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled,
                                            selected ? QPalette::Highlight : QPalette::Base);
    // An empty list shows its focus around the place of its first row.
    frame.rect =
        current.isValid()
            ? QRect(-header()->offset(), rowViewportPosition(current.row()), header()->length(),
                    rowHeight(current.row()))
            : QRect(0, 0, viewport()->width(),
                    rowHeight(0) > 0 ? rowHeight(0) : verticalHeader()->defaultSectionSize());
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
