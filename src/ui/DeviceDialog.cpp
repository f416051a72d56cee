#include "DeviceDialog.h"

#include "AmountText.h"
#include "DatePicker.h"
#include "DateText.h"
#include "Heading.h"
#include "NodeList.h"
#include "Services.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace tripvane {

QStringList sortedNames(const CategoryList &categories)
{
    QStringList names;
    for (ListPosition i = 0; i < categories.size(); ++i)
        names.append(categories.at(i).name);
    std::stable_sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

DeviceDialog::DeviceDialog(Services &services, const QString &caption,
                           std::span<const ControlSpec> controls, QString helpAnchor)
    : m_services(services)
    , m_helpAnchor(std::move(helpAnchor))
{
    setWindowTitle(caption);
    setAccessibleName(caption); // shown inside the frame, the dialog is no window of its own
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    m_controls.create(this, controls);
    for (const auto &[id, widget] : m_controls.widgets()) {
        widget->installEventFilter(this);
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, id = id] {
                // Cancel gives up what was typed, a date that is no date too.
                if (id == cancelCode() || typedDatesHold())
                    command(id);
            });
        QWidget *popup = nullptr;
        if (auto *picker = qobject_cast<DatePicker *>(widget)) {
            popup = picker->calendarWidget();
            connect(picker, &DatePicker::typedTextRefused, this, [this] { typedDatesHold(); });
        } else if (auto *combo = qobject_cast<QComboBox *>(widget))
            popup = combo->view()->window();
        if (popup) {
            popup->installEventFilter(this);
            m_popups.push_back(popup);
        }
    }
    connect(&services.screen(), &Screen::changed, this, [this] {
        relayout();
        orderTabsVisually(*this);
    });
}

void DeviceDialog::showEvent(QShowEvent *event)
{
    // The dialogs add their lists after the controls: Tab is ordered once everything is there.
    orderTabsVisually(*this);
    QDialog::showEvent(event);
}

bool DeviceDialog::typedDatesHold()
{
    DatePicker *refused = nullptr;
    for (const auto &[id, widget] : m_controls.widgets()) {
        auto *picker = qobject_cast<DatePicker *>(widget);
        if (!refused && picker && !picker->holdsItsDate())
            refused = picker;
    }
    if (!refused)
        return true;
    refused->forgetLeaving();
    // Refused as every entry is: a beep, and the focus back in the field, its text selected.
    m_services.beeper().beep();
    refused->setFocus(Qt::OtherFocusReason);
    refused->selectFirstPart();
    return false;
}

void DeviceDialog::keepInsideScreen(QWidget &popup) const
{
    // The screen is the frame the dialog shows in; a dialog not yet shown has only the desk's.
    const QRect screen = window() != this || !window()->screen()
                             ? window()->geometry()
                             : window()->screen()->availableGeometry();
    QRect placed = popup.geometry();
    placed.setSize(placed.size().boundedTo(screen.size()));
    placed.moveRight(std::min(placed.right(), screen.right()));
    placed.moveBottom(std::min(placed.bottom(), screen.bottom()));
    placed.moveLeft(std::max(placed.left(), screen.left()));
    placed.moveTop(std::max(placed.top(), screen.top()));
    if (placed != popup.geometry())
        popup.setGeometry(placed);
}

void DeviceDialog::command(int id)
{
    // Without an OK, the title bar's OK leaves as Cancel does.
    if (id == okCode() || (id == TitleBarOkCommand && okCode() >= 0))
        accept();
    else if (id == cancelCode() || id == TitleBarOkCommand)
        done(cancelCode());
}

void DeviceDialog::help()
{
    m_services.openHelp(m_helpAnchor);
}

void DeviceDialog::relayout()
{
    m_controls.place(isPortrait());
    update();
}

void DeviceDialog::setDateOrder(std::uint32_t dateView)
{
    static const char *const formats[] = {"dd-MM-yyyy", "dd/MM/yyyy", "MM-dd-yyyy", "MM/dd/yyyy"};
    const QString format = QString::fromLatin1(formats[dateView <= 3 ? dateView : 0]);
    for (const auto &[id, widget] : m_controls.widgets()) {
        if (auto *picker = qobject_cast<QDateEdit *>(widget))
            picker->setDisplayFormat(format);
    }
}

void DeviceDialog::setPickerDate(int id, const SystemTime &date)
{
    const QDate shown(date.year, date.month, date.day);
    const SystemTime today = m_services.clock().localToday();
    m_controls.as<QDateEdit>(id)->setDate(
        shown.isValid() ? shown : QDate(today.year, today.month, today.day));
}

SystemTime DeviceDialog::pickerDate(int id)
{
    const QDate picked = m_controls.as<QDateEdit>(id)->date();
    if (!picked.isValid())
        return m_services.clock().localToday();
    return makeDate(picked.year(), picked.month(), picked.day());
}

std::optional<DateRange> DeviceDialog::pickedRange(int startsId, int endsId)
{
    const DateRange range{pickerDate(startsId), pickerDate(endsId)};
    if (dateKeyOf(range.start) <= dateKeyOf(range.end))
        return range;
    ask(IDS_RANGE_START_AFTER_END, MessageButtons::Ok);
    m_controls.widget(startsId)->setFocus();
    return std::nullopt;
}

void DeviceDialog::enableOkWhileTyped(std::initializer_list<int> fields, int okId, int cancelId)
{
    auto follow = [this, okId, cancelId](const QString &text) {
        const bool typed = !text.isEmpty();
        m_controls.widget(okId)->setEnabled(typed);
        m_controls.as<QPushButton>(okId)->setDefault(typed);
        m_controls.as<QPushButton>(cancelId)->setDefault(!typed);
    };
    for (int id : fields)
        connect(m_controls.as<QLineEdit>(id), &QLineEdit::textChanged, this, follow);
    follow(m_controls.as<QLineEdit>(*fields.begin())->text());
}

bool DeviceDialog::isPortrait() const
{
    return m_services.screen().isPortrait();
}

void DeviceDialog::focusField(int id)
{
    if (auto *edit = m_controls.as<QLineEdit>(id)) {
        edit->setFocus();
        edit->selectAll();
    }
    m_services.inputPanel().show();
}

std::optional<QString> DeviceDialog::checkedAmount(int id, std::uint32_t distanceView)
{
    const QString typed = m_controls.as<QLineEdit>(id)->text().left(FieldLimit::AmountText);
    if (typed.isEmpty()) {
        refuseField(id);
        return std::nullopt;
    }
    const QString text = stripBlanks(typed);
    const AmountCheck check = CheckAmountText(text, distanceView);
    if (check != AMOUNT_OK) {
        ask(amountMessage(check), MessageButtons::Ok);
        refuseField(id);
        return std::nullopt;
    }
    return text;
}

std::optional<QString> DeviceDialog::checkedName(int id, int keptLength, bool beepWhenEmpty)
{
    const CheckedText name =
        checkName(m_controls.as<QLineEdit>(id)->text().left(keptLength), keptLength);
    if (name.problem == TextProblem::Empty) {
        if (beepWhenEmpty)
            m_services.beeper().beep();
        focusField(id);
        return std::nullopt;
    }
    if (name.problem != TextProblem::None) {
        ask(IDS_NAME_RULE, MessageButtons::Ok);
        focusField(id);
        return std::nullopt;
    }
    return name.text;
}

MessageAnswer DeviceDialog::ask(int stringId, MessageButtons buttons)
{
    m_services.inputPanel().hide();
    return m_services.message(stringId, MessageIcon::Exclamation, buttons);
}

MessageAnswer DeviceDialog::ask(const QString &text, MessageButtons buttons)
{
    m_services.inputPanel().hide();
    return m_services.message(text, MessageIcon::Exclamation, buttons);
}

void DeviceDialog::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (!m_heading)
        return;
    const std::optional<int> shift = isPortrait() ? 0 : m_heading->wideShift;
    if (!shift)
        return; // a heading of the portrait layout only
    const QPoint by(*shift, 0);
    QPainter painter(this);
    paintHeading(painter, m_heading->text + by, loadString(m_heading->stringId));
    paintRule(painter, m_heading->rule.p1() + by, m_heading->rule.p2() + by);
}

void DeviceDialog::refuseField(int id)
{
    m_services.beeper().beep();
    focusField(id);
}

bool DeviceDialog::eventFilter(QObject *watched, QEvent *event)
{
    // A calendar or a combo list drops down over the input panel's place.
    if (std::find(m_popups.begin(), m_popups.end(), watched) != m_popups.end()) {
        if (event->type() == QEvent::Show) {
            m_services.inputPanel().hide();
            keepInsideScreen(*static_cast<QWidget *>(watched)->window());
        } else if (event->type() == QEvent::Hide && m_panelAfterDropDown)
            m_services.inputPanel().show();
    } else if (event->type() == QEvent::KeyPress && qobject_cast<QPushButton *>(watched)) {
        // Enter presses the button that has the focus, as on the handheld.
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            static_cast<QPushButton *>(watched)->click();
            return true;
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (qobject_cast<QLineEdit *>(watched))
            m_services.inputPanel().show();
        else
            m_services.inputPanel().hide();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tripvane
