#pragma once

#include <QDateEdit>

namespace tripvane {

// The dialogs' date picker at a desk: a date is typed as it is written (a separator goes on to
// the next part; Shift+Tab starts at the first part, not the year), and a typed text that is no
// date is held instead of giving way to the old date without a word: Tab and Enter only report
// it, and leaving by the pointer is remembered until the dialog has refused it.
class DatePicker final : public QDateEdit
{
    Q_OBJECT

public:
    explicit DatePicker(QWidget *parent = nullptr);

    // False while the field holds a typed text that is no date, or was left holding one.
    bool holdsItsDate() const { return !m_leftWithoutDate && typedTextIsADate(); }
    void forgetLeaving() { m_leftWithoutDate = false; }

signals:
    // Tab or Enter on a text that is no date.
    void typedTextRefused();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    bool typedTextIsADate() const;

    bool m_leftWithoutDate = false;
};

} // namespace tripvane
