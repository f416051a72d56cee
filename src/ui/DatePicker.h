#pragma once

#include <QDateEdit>
#include <QStringList>

namespace tripvane {

// The dialogs' date picker at a desk: a date is typed as it is written (a separator goes on to
// the next part; Shift+Tab starts at the first part, not the year). The picker keeps each part
// as typed until the whole date is there: a day that the month or year shown meanwhile has not
// got is never pulled back. A typed text that is no date is held instead of giving way to the
// old date without a word: Tab and Enter only report it, and leaving by the pointer is
// remembered until the dialog has refused it. A two-digit year is this century's.
class DatePicker final : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget *parent = nullptr);

    // False while the field holds a typed text that is no date, or was left holding one.
    bool holdsItsDate() const { return !m_leftWithoutDate && typedTextIsADate(); }
    void forgetLeaving() { m_leftWithoutDate = false; }
    // The first part selected, as typed, for typing over.
    void selectFirstPart();

signals:
    // Tab or Enter on a text that is no date.
    void typedTextRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    QValidator::State validate(QString &input, int &pos) const override;

private:
    bool typedTextIsADate() const { return dateOfText(text()).isValid(); }
    QDate dateOfText(const QString &text) const;
    // Takes the parts from the field when something else than typing changed it.
    void takeParts();
    int partAt(int cursor) const;
    int partLength(int part) const;
    void typeDigit(QChar digit);
    void goToPart(int part);
    void showParts();
    void completeShortYear();

    QStringList m_parts; // as typed, in the order shown
    QChar m_separator = u'/';
    int m_part = 0;
    bool m_partStarted = false; // typing adds to the part instead of replacing it
    QString m_shown;            // the text the parts were last shown as
    bool m_leftWithoutDate = false;
};

} // namespace tripvane
