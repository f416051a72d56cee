#pragma once

#include <QRect>
#include <QString>

#include <array>
#include <map>
#include <span>

class QWidget;

namespace tripvane {

enum class ControlKind {
    Label,
    ValueLabel, // a label that shows a value, sunken like the handheld's static frames
    Edit,
    Button,
    DefaultButton,
    DatePicker,
    Picture,
    CheckBox,
    RadioButton,
    ComboBox,
    ListBox,
    GroupBox,
};

// One control of a dialog template: its id, kind, text and rectangle in each layout.
struct ControlSpec
{
    int id;
    ControlKind kind;
    const char16_t *text;
    QRect portrait;
    QRect wide;
};

// A template whose controls stand where another's do, under ids of their own.
template<std::size_t N, typename MapId>
constexpr std::array<ControlSpec, N> withIds(const ControlSpec (&specs)[N], MapId mapId)
{
    std::array<ControlSpec, N> moved{};
    for (std::size_t i = 0; i < N; ++i) {
        moved[i] = specs[i];
        moved[i].id = mapId(specs[i].id);
    }
    return moved;
}

// The controls of one dialog or pane, created from their specs and placed by the one layout
// routine of the program. For the keyboard and screen readers each field is the buddy of the
// label beside or above it, labels and buttons get an underlined letter of their own, and Tab
// follows the controls as they are placed: top to bottom, left to right, OK and Cancel last.
class ControlSet
{
public:
    void create(QWidget *parent, std::span<const ControlSpec> specs);
    void place(bool portrait) const;

    QWidget *widget(int id) const;
    template<typename T> T *as(int id) const { return qobject_cast<T *>(widget(id)); }
    int idOf(const QWidget *widget) const;
    const std::map<int, QWidget *> &widgets() const { return m_widgets; }

private:
    std::span<const ControlSpec> m_specs;
    std::map<int, QWidget *> m_widgets;
};

// The text with an underlined letter (an ampersand before it) not yet in taken, which then
// holds it too; a text that has one, or has no free letter, is kept as it is.
QString withMnemonic(const QString &text, QString &taken);
// The text as read aloud: without the ampersand that marks its underlined letter.
QString withoutMnemonic(const QString &text);

// Tab goes through the parent's controls as they are placed: by rows top to bottom, each row
// left to right, with OK and Cancel last.
void orderTabsVisually(QWidget &parent);

} // namespace tripvane
