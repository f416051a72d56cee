#pragma once

#include <QAbstractTableModel>
#include <QTreeView>

namespace tripvane {

class TripLog;
struct AppSettings;

// Rows of the main list: row i is the i-th trip of the log, with its date and distance texts
// in the current view options. The model reads the log directly and follows its signals, so
// filling 100,000 rows is one reset.
class RecordListModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    // The index of the row's image in the list images, for column 0.
    static constexpr int ImageRole = Qt::UserRole;

    RecordListModel(const TripLog &log, const AppSettings &settings, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int dateHeaderImage() const { return m_dateHeaderImage; }
    void setDateHeaderImage(int image);

private:
    const TripLog &m_log;
    const AppSettings &m_settings;
    int m_dateHeaderImage = 2;
};

// The record list view (control 500). A tap on a row or Enter asks for the record; a tap on a
// header reports the column.
class RecordListView final : public QTreeView
{
    Q_OBJECT

public:
    explicit RecordListView(RecordListModel &model, QWidget *parent = nullptr);

    // -1 when no row is selected.
    int selectedRow() const;
    void selectRow(int row);
    void setLayoutWidths(bool portrait);

signals:
    void rowTapped();
    void columnTapped(int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace tripvane
