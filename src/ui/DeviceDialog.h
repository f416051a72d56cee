#pragma once

#include "ControlLayout.h"
#include "Services.h"

#include <optional>
#include <vector>

#include <QDialog>
#include <QLine>

namespace tripvane {

class CategoryList;
class Services;

// Category names in the order the handheld's sorted list and combo boxes show them: without
// regard to case, equal names in list order.
QStringList sortedNames(const CategoryList &categories);

// A full-screen dialog of the handheld: controls from a template placed for the current
// layout, the end code of the button that ended it, the input panel raised for edit fields
// and lowered for everything else, and the help anchor of its section of the help file.
class DeviceDialog : public QDialog, public FramePage
{
    Q_OBJECT

public:
    // helpAnchor: the dialog's section of the help file (none: its contents).
    DeviceDialog(Services &services, const QString &caption, std::span<const ControlSpec> controls,
                 QString helpAnchor);

    const ControlSet &controls() const { return m_controls; }

    // A button press, or TitleBarOkCommand: Cancel ends the dialog, OK and the title bar's OK
    // accept it (without an OK the title bar's leaves). Dialogs with other buttons take them
    // first.
    virtual void command(int id);
    void help();
    // The end codes of the dialog's OK (none: -1) and Cancel (or of its leaving without change).
    virtual int okCode() const { return -1; }
    virtual int cancelCode() const = 0;

    QDialog &pageDialog() override { return *this; }
    void pageCommand(int id) override
    {
        if (typedDatesHold())
            command(id);
    }
    void pageHelp() override { help(); }
    void pageCancel() override { reject(); }

protected:
    // Escape leaves the dialog as its Cancel does.
    void reject() override { command(cancelCode()); }
    // Date pickers show dates in the order the user chose for every date (DateTypeView).
    void setDateOrder(std::uint32_t dateView);
    // A picker shows a holder's date (today when the holder has none); its date as the
    // handheld's calendar record, today (UTC) when the picker holds no valid date.
    void setPickerDate(int id, const SystemTime &date);
    SystemTime pickerDate(int id);
    // The range two pickers hold; none, once told with the focus on the first, when it starts
    // after it ends.
    std::optional<DateRange> pickedRange(int startsId, int endsId);
    // Places the controls for the current screen; dialogs with more to place extend it.
    virtual void relayout();
    bool isPortrait() const;
    Services &services() { return m_services; }
    // Puts the focus in a field, selects its text and raises the input panel.
    void focusField(int id);
    // Beep, focus on the field with its text selected, as after every refused entry.
    void refuseField(int id);
    // OK is enabled and the default while the field changed last holds text; else Cancel is
    // the default. The first field decides at the start.
    void enableOkWhileTyped(std::initializer_list<int> fields, int okId, int cancelId);
    // Whether the input panel comes back when a calendar or combo list closes up (the default).
    void setInputPanelAfterDropDown(bool show) { m_panelAfterDropDown = show; }
    // The checked text of an amount field (13 characters at most), blanks stripped. An empty
    // field only beeps; a refused amount shows its message; either way the focus goes back to
    // the field and nothing is returned.
    std::optional<QString> checkedAmount(int id, std::uint32_t distanceView);
    // The normalised name in a field (its first keptLength characters) under the name rule. An
    // empty name fails without a message (with a beep if asked); a name that breaks the rule
    // shows its message; either way the focus goes back to the field and nothing is returned.
    std::optional<QString> checkedName(int id, int keptLength, bool beepWhenEmpty);
    // A message box of this dialog: the input panel goes down first.
    MessageAnswer ask(int stringId, MessageButtons buttons);
    MessageAnswer ask(const QString &text, MessageButtons buttons);
    // The blue heading and its rule at the top of a dialog; a wide layout moves them right by
    // wideShift, or leaves them out without one.
    struct Heading
    {
        int stringId;
        QPoint text{6, 4};
        QLine rule{1, 20, 238, 20};
        std::optional<int> wideShift = 0;
    };
    void setHeading(const Heading &heading) { m_heading = heading; }
    void paintEvent(QPaintEvent *event) override;

    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void keepInsideScreen(QWidget &popup) const;
    // False, with a beep and the focus in the picker, while a picker holds a typed text that is
    // no date or was left holding one.
    bool typedDatesHold();

    Services &m_services;
    ControlSet m_controls;
    std::vector<QObject *> m_popups; // calendars and combo lists that drop down
    bool m_panelAfterDropDown = true;
    QString m_helpAnchor;
    std::optional<Heading> m_heading;
};

} // namespace tripvane
