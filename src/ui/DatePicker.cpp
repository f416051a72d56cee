#include "DatePicker.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>

namespace tripvane {

DatePicker::DatePicker(QWidget *parent)
    : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yy"));
}

// The date the parts of a text make, read by hand: the picker's own reading of a text pulls a
// day back into the month. "3-10-2005" is the 3rd; "30-11-2" and "31-04-2027" are no date.
QDate DatePicker::dateOfText(const QString &text) const
{
    const QStringList parts = text.split(displayFormat().at(2));
    if (parts.size() != 3)
        return {};
    int day = 0, month = 0, year = 0;
    for (int part = 0; part < 3; ++part) {
        bool number = false;
        const int value = parts[part].toInt(&number);
        if (!number || parts[part].isEmpty() || parts[part].size() > partLength(part) ||
            !std::ranges::all_of(parts[part], [](QChar c) { return c >= u'0' && c <= u'9'; }))
            return {};
        switch (sectionAt(part)) {
        case DaySection:
            day = value;
            break;
        case MonthSection:
            month = value;
            break;
        default:
            if (parts[part].size() != partLength(part))
                return {};
            year = partLength(part) == 2 ? 2000 + value : value;
            break;
        }
    }
    const QDate date(year, month, day);
    return date >= minimumDate() && date <= maximumDate() ? date : QDate();
}

int DatePicker::partLength(int part) const
{
    return sectionAt(part) == YearSection && displayFormat().count(u'y') == 4 ? 4 : 2;
}

void DatePicker::takeParts()
{
    const QString text = lineEdit()->text();
    const int cursor =
        lineEdit()->hasSelectedText() ? lineEdit()->selectionStart() : lineEdit()->cursorPosition();
    if (text == m_shown && partAt(cursor) == m_part)
        return;
    m_separator = displayFormat().at(2);
    m_parts = text.split(m_separator);
    while (m_parts.size() < 3)
        m_parts.append(QString());
    m_shown = text;
    m_part = partAt(cursor);
    m_partStarted = false;
}

int DatePicker::partAt(int cursor) const
{
    int end = 0;
    for (int part = 0; part < m_parts.size(); ++part) {
        end += int(m_parts[part].size());
        if (cursor <= end)
            return part;
        ++end; // the separator
    }
    return int(m_parts.size()) - 1;
}

void DatePicker::typeDigit(QChar digit)
{
    QString &part = m_parts[m_part];
    if (!m_partStarted || part.size() >= partLength(m_part))
        part.clear();
    part += digit;
    m_partStarted = true;
    if (part.size() == partLength(m_part) && m_part < 2) {
        m_part += 1;
        m_partStarted = false;
    }
    showParts();
}

void DatePicker::selectFirstPart()
{
    m_shown.clear();
    takeParts();
    goToPart(0);
}

void DatePicker::goToPart(int part)
{
    m_part = part;
    m_partStarted = false;
    showParts();
}

void DatePicker::completeShortYear()
{
    takeParts();
    for (int part = 0; part < 3; ++part) {
        if (sectionAt(part) == YearSection && partLength(part) == 4 && m_parts[part].size() == 2) {
            m_parts[part].prepend(QStringLiteral("20"));
            showParts();
        }
    }
}

// The parts go into the field as typed; once they make a date, it is the picker's date too.
void DatePicker::showParts()
{
    const QString text = m_parts.join(m_separator);
    const QDate typed = dateOfText(text);
    if (typed.isValid() && typed != date())
        setDate(typed);
    setCurrentSectionIndex(m_part);
    int start = 0;
    for (int part = 0; part < m_part; ++part)
        start += int(m_parts[part].size()) + 1;
    const QSignalBlocker quiet(lineEdit());
    lineEdit()->setText(text);
    if (m_partStarted)
        lineEdit()->setCursorPosition(start + int(m_parts[m_part].size()));
    else
        lineEdit()->setSelection(start, int(m_parts[m_part].size()));
    m_shown = text;
}

QValidator::State DatePicker::validate(QString &input, int &) const
{
    // The picker's own check rewrites the text as the field takes it: it pulls a day back into
    // the month and fills a part typed short.
    return dateOfText(input).isValid() ? QValidator::Acceptable : QValidator::Intermediate;
}

bool DatePicker::focusNextPrevChild(bool next)
{
    // Tab moves through the parts of the date first; only leaving the picker is refused.
    takeParts();
    const int part = m_part + (next ? 1 : -1);
    if (part >= 0 && part < 3) {
        goToPart(part);
        return true;
    }
    completeShortYear();
    if (!typedTextIsADate()) {
        emit typedTextRefused();
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void DatePicker::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        completeShortYear();
        if (!typedTextIsADate()) {
            emit typedTextRefused();
            return;
        }
    } else if (plain && typed.size() == 1 && typed[0].isDigit() && typed[0].unicode() < 128) {
        takeParts();
        typeDigit(typed[0]);
        return;
    } else if (plain && typed.size() == 1 && QStringLiteral("-/.").contains(typed)) {
        // After a full part the picker has gone on by itself; after a shorter one the
        // separator takes it on.
        takeParts();
        if (m_partStarted && m_part < 2)
            goToPart(m_part + 1);
        return;
    }
    QDateEdit::keyPressEvent(event);
    // Backspace and Delete leave a part to be typed on; anything else starts a part afresh.
    const bool editing = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    m_shown.clear();
    takeParts();
    m_partStarted = editing;
}

void DatePicker::focusInEvent(QFocusEvent *event)
{
    m_shown.clear();
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
    completeShortYear();
    if (!typedTextIsADate())
        m_leftWithoutDate = true;
    QDateEdit::focusOutEvent(event);
}

} // namespace tripvane
