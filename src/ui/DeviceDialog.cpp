#include "DeviceDialog.h"

#include "Services.h"

#include <QAbstractButton>
#include <QCalendarWidget>
#include <QDateEdit>
#include <QEvent>
#include <QLineEdit>

namespace tripvane {

DeviceDialog::DeviceDialog(Services &services, const QString &caption,
                           std::span<const ControlSpec> controls, bool shellOkButton)
    : m_services(services)
{
    setWindowTitle(caption);
    setProperty("shellOkButton", shellOkButton);
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    m_controls.create(this, controls);
    for (const auto &[id, widget] : m_controls.widgets()) {
        widget->installEventFilter(this);
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            connect(button, &QAbstractButton::clicked, this, [this, id = id] { command(id); });
        if (auto *picker = qobject_cast<QDateEdit *>(widget))
            picker->calendarWidget()->installEventFilter(this);
    }
    connect(&services.screen(), &Screen::changed, this, [this] { relayout(); });
}

void DeviceDialog::help()
{
    m_services.helpViewer().open(QStringLiteral("file:tripvaneppc.htm#") + helpAnchor());
}

void DeviceDialog::relayout()
{
    m_controls.place(isPortrait());
    update();
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

void DeviceDialog::refuseField(int id)
{
    m_services.beeper().beep();
    focusField(id);
}

bool DeviceDialog::eventFilter(QObject *watched, QEvent *event)
{
    // The calendar of a date picker drops down over the input panel's place.
    if (qobject_cast<QCalendarWidget *>(watched)) {
        if (event->type() == QEvent::Show)
            m_services.inputPanel().hide();
        else if (event->type() == QEvent::Hide)
            m_services.inputPanel().show();
    } else if (event->type() == QEvent::FocusIn) {
        if (qobject_cast<QLineEdit *>(watched))
            m_services.inputPanel().show();
        else
            m_services.inputPanel().hide();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tripvane
