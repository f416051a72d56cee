#pragma once

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include <functional>
#include <vector>

namespace tripvane {

// One column of a list view: the string id of its name, its width in each layout, and whether
// its texts are right-aligned (amounts).
struct ListColumn
{
    int nameId;
    int portraitWidth;
    int wideWidth;
    bool rightAligned = false; // an amount, never cut
    bool whole = false;        // a text never cut, as the trips' dates
    bool neverCut() const { return rightAligned || whole; }
};

// The rows of a list, read where they live: nothing is copied into the model, so a list of
// 100,000 trips fills with one reset.
struct ListRows
{
    std::function<int()> count;
    std::function<QString(int row, int column)> text;
    std::function<int(int row)> image; // the image of the row's first column
};

// The model of every list view of the program (trips, routes, report). The owner of the rows
// calls the begin/end pairs around each change of them, as item models need.
class ListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The index of a row's image in the list images, for column 0.
    static constexpr int ImageRole = Qt::UserRole;
    static constexpr int NoImage = -1;

    // headerImages: one per column, NoImage for a header without one.
    ListModel(std::vector<ListColumn> columns, ListRows rows, std::vector<int> headerImages,
              QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const std::vector<ListColumn> &columns() const { return m_columns; }
    int headerImage(int column) const { return m_headerImages.at(std::size_t(column)); }
    void setHeaderImage(int column, int image);

    void beginRowsReset() { beginResetModel(); }
    void endRowsReset() { endResetModel(); }
    void beginAppendRow();
    void endAppendRow() { endInsertRows(); }
    void rowChanged(int row);
    void beginRemoveRow(int row) { beginRemoveRows({}, row, row); }
    void endRemoveRow() { endRemoveRows(); }

private:
    std::vector<ListColumn> m_columns;
    ListRows m_rows;
    std::vector<int> m_headerImages;
};

// A list view of the handheld (report style, one selected row, images): a tap on a row or
// Enter asks for the row, a tap on a header reports its column. A table view without grid or
// row headers, since a tree view keeps an item of its own for every row: 4 MiB for 100,000
// trips.
class ListView final : public QTableView
{
    Q_OBJECT

public:
    ListView(int controlId, ListModel &model, QWidget *parent = nullptr);

    ListModel &listModel() const { return m_model; }
    // -1 when no row is selected.
    int selectedRow() const;
    // A current row for the focus mark and Enter, where the list has rows and none is current.
    void giveCurrentRow();
    void selectRow(int row);
    void setColumnWidths(bool portrait);
    QHeaderView *header() const { return horizontalHeader(); }
    // The row under the pointer, -1 for none.
    int hoveredRow() const { return m_hoveredRow; }

signals:
    void rowTapped();
    void columnTapped(int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void paintEvent(QPaintEvent *event) override;
    void initViewItemOption(QStyleOptionViewItem *option) const override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // Lists up to this long have every row measured for their columns never cut.
    static constexpr int MeasuredInFull = 2000;

    void fitRowHeight();
    void fitColumns();
    void showWholeRowsFromTheTop();
    int widestCell(int column) const;
    int m_rowWhileHidden = -1;
    int m_scrollWhileHidden = 0;
    void setHoveredRow(int row);

    ListModel &m_model;
    int m_hoveredRow = -1;
    bool m_portrait = true;
};

} // namespace tripvane
