#include "StatusPane.h"

#include "AppSettings.h"
#include "Heading.h"
#include "ListView.h"
#include "LogLists.h"
#include "Services.h"
#include "StringTable.h"
#include "TextRules.h"
#include "TripLog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace tripvane {

namespace {

// clang-format off
constexpr ControlSpec paneControls[] = {
    {StatusPane::ChangeStatusButton, ControlKind::Button, u"Change Status", {4, 26, 90, 21}, {225, 160, 91, 20}},
    {StatusPane::EndsLabel, ControlKind::Label, u"Ends:", {90, 25, 45, 18}, {209, 4, 45, 16}},
    {StatusPane::EndsValue, ControlKind::ValueLabel, u"0.00", {145, 24, 90, 18}, {225, 20, 90, 18}},
    {StatusPane::StartsLabel, ControlKind::Label, u"Starts:", {100, 46, 35, 18}, {225, 40, 35, 16}},
    {StatusPane::StartsValue, ControlKind::ValueLabel, u"0.00", {145, 45, 90, 18}, {225, 56, 90, 18}},
    {StatusPane::RegisteredLabel, ControlKind::Label, u"Registered:", {70, 68, 65, 18}, {222, 76, 61, 16}},
    {StatusPane::RegisteredValue, ControlKind::ValueLabel, u"0.00", {145, 66, 90, 18}, {225, 92, 90, 18}},
    {StatusPane::BalanceLabel, ControlKind::Label, u"Balance:", {90, 91, 45, 18}, {224, 112, 45, 16}},
    {StatusPane::BalanceValue, ControlKind::ValueLabel, u"0", {145, 89, 90, 18}, {225, 128, 90, 18}},
};
// clang-format on

constexpr QRect ChangeStatusAfterRotation{225, 158, 91, 20};

} // namespace

StatusPane::StatusPane(Services &services, const AppSettings &settings, TripLog &log,
                       QWidget *parent)
    : QWidget(parent)
    , m_services(services)
    , m_settings(settings)
    , m_log(log)
{
    setObjectName(QStringLiteral("statusPane"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    m_controls.create(this, paneControls);
    for (int label : {EndsLabel, StartsLabel, RegisteredLabel, BalanceLabel})
        m_controls.as<QLabel>(label)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    connect(m_controls.as<QPushButton>(ChangeStatusButton), &QPushButton::clicked, this,
            &StatusPane::changeStatusClicked);

    m_model = makeRecordListModel(m_log, m_settings, this);
    m_view = new ListView(500, *m_model, this);
    // The pane hears the list first: the input panel goes down before the list is handled.
    connect(m_view, &ListView::rowTapped, this, [this] {
        m_services.inputPanel().hide();
        emit rowTapped();
    });
    connect(m_view, &ListView::columnTapped, this, [this](int column) {
        m_services.inputPanel().hide();
        emit columnTapped(column);
    });

    placeControls(false);
    recomputeStatus();
}

void StatusPane::placeControls(bool afterScreenChange)
{
    const bool portrait = m_services.screen().isPortrait();
    m_controls.place(portrait);
    if (afterScreenChange && !portrait)
        m_controls.widget(ChangeStatusButton)->setGeometry(ChangeStatusAfterRotation);
    m_view->setColumnWidths(portrait);
    placeList();
    update();
}

void StatusPane::placeList()
{
    const QRect client = rect();
    if (m_services.screen().isPortrait())
        m_view->setGeometry(client.left() + 1, client.top() + 109, client.width() - 2,
                            client.height() - 109);
    else
        m_view->setGeometry(client.left() + 1, client.top() + 24, client.width() - 100,
                            client.height() - 32);
}

void StatusPane::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeList();
}

void StatusPane::recomputeStatus()
{
    const StatusTexts texts = m_log.computeStatus(m_settings.DistanceTypeView, [this] {
        m_services.message(IDS_BALANCE_OVERFLOW, MessageIcon::Exclamation);
    });
    m_controls.as<QLabel>(EndsValue)->setText(texts.ends);
    m_controls.as<QLabel>(StartsValue)->setText(texts.starts);
    m_controls.as<QLabel>(RegisteredValue)->setText(texts.registered);
    m_controls.as<QLabel>(BalanceValue)->setText(texts.balance);
    update();
}

QString StatusPane::headingText() const
{
    const QString &date = m_log.status().end.dateTextFor(m_settings.DateTypeView);
    if (date.isNull())
        return stripBlanks(loadString(IDS_ODOMETER_STATUS));
    return stripBlanks(loadString(IDS_ODOMETER_STATUS_ON) + u' ' + date);
}

void StatusPane::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    if (m_services.screen().isPortrait()) {
        paintHeading(painter, {6, 4}, headingText());
        paintRule(painter, {1, 20}, {238, 20});
        paintRule(painter, {106, 44}, {137, 44}, 2);
        paintRule(painter, {100, 65}, {137, 65}, 2);
        paintRule(painter, {75, 87}, {235, 87}, 2);
    } else {
        paintHeading(painter, {5, 4}, headingText());
        paintRule(painter, {1, 19}, {222, 19});
    }
}

} // namespace tripvane
