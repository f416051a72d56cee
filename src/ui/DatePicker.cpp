#include "DatePicker.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace tripvane {

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yy"));
}

bool DatePicker::typedTextIsADate() const
{
    // What the picker would make of the text: "3-10-2005" is the 3rd; "30-11-2" is the year 2,
    // before the first date it takes, so the old date would come back.
    const QDate typed = dateTimeFromText(text()).date();
    return typed.isValid() && typed >= minimumDate() && typed <= maximumDate();
}

bool DatePicker::focusNextPrevChild(bool next)
{
    // Tab moves through the parts of the date first; only leaving the picker is refused.
    const bool leaving =
        next ? currentSectionIndex() == sectionCount() - 1 : currentSectionIndex() == 0;
    if (leaving && !typedTextIsADate()) {
        emit typedTextRefused();
        return true;
    }
    return QDateEdit::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !typedTextIsADate()) {
        emit typedTextRefused();
        return;
    }
    // After a full part the picker has gone on by itself; after a shorter one the separator
    // takes it on.
    const QString typed = event->text();
    if (typed.size() == 1 && QStringLiteral("-/.").contains(typed)) {
        const int cursor = lineEdit()->cursorPosition();
        const bool atPartStart = cursor == 0 || !lineEdit()->text().at(cursor - 1).isDigit();
        const int next = currentSectionIndex() + 1;
        if (!atPartStart && next < sectionCount()) {
            setCurrentSectionIndex(next);
            setSelectedSection(currentSection());
        }
        return;
    }
    QDateEdit::keyPressEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent *event)
{
    if (event->reason() == Qt::BacktabFocusReason) {
        QFocusEvent fromFront(QEvent::FocusIn, Qt::TabFocusReason);
        QDateEdit::focusInEvent(&fromFront);
        return;
    }
    QDateEdit::focusInEvent(event);
}

void DatePicker::focusOutEvent(QFocusEvent *event)
{
    // Leaving puts the old date back; the dialog's next command is refused instead.
    if (!typedTextIsADate())
        m_leftWithoutDate = true;
    QDateEdit::focusOutEvent(event);
}

} // namespace tripvane
