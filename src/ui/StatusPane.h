#pragma once

#include "ControlLayout.h"

#include <QWidget>

namespace tripvane {

class ListModel;
class ListView;
class Services;
class TripLog;
struct AppSettings;

// The status pane (dialog 129): the odometer heading, the four values with "Change Status",
// and the record list view inside it.
class StatusPane final : public QWidget
{
    Q_OBJECT

public:
    enum Control {
        ChangeStatusButton = 1140,
        EndsLabel = 1141,
        EndsValue = 1142,
        StartsLabel = 1143,
        StartsValue = 1144,
        RegisteredLabel = 1145,
        RegisteredValue = 1146,
        BalanceLabel = 1147,
        BalanceValue = 1148,
    };

    StatusPane(Services &services, const AppSettings &settings, TripLog &log,
               QWidget *parent = nullptr);

    const ControlSet &controls() const { return m_controls; }
    ListModel &listModel() { return *m_model; }
    ListView &listView() { return *m_view; }

    // Places the controls and the list for the current screen. The pane's first placing in the
    // wide layout puts "Change Status" two pixels lower than every later one, as designed.
    void placeControls(bool afterScreenChange);
    // Registered and Balance from the records and readings, shown in the current forms.
    void recomputeStatus();
    QString headingText() const;

signals:
    // A tap on a row (or Enter) and a tap on a column header of the list, after the pane
    // lowered the input panel.
    void rowTapped();
    void columnTapped(int column);
    void changeStatusClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeList();

    Services &m_services;
    const AppSettings &m_settings;
    TripLog &m_log;
    ControlSet m_controls;
    ListModel *m_model = nullptr;
    ListView *m_view = nullptr;
};

} // namespace tripvane
