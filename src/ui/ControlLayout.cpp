#include "ControlLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace tripvane {

namespace {

QWidget *make(QWidget *parent, const ControlSpec &spec)
{
    const QString text = spec.text ? QString::fromUtf16(spec.text) : QString();
    switch (spec.kind) {
    case ControlKind::Label:
        return new QLabel(text, parent);
    case ControlKind::ValueLabel: {
        auto *label = new QLabel(text, parent);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return label;
    }
    case ControlKind::Edit:
        return new QLineEdit(text, parent);
    case ControlKind::Button:
    case ControlKind::DefaultButton: {
        // A dialog hosted in the frame is not a window of its own, where Qt's focus-following
        // default would drop the default for good; the dialog decides the default itself.
        auto *button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setDefault(spec.kind == ControlKind::DefaultButton);
        return button;
    }
    case ControlKind::DatePicker: {
        auto *picker = new QDateEdit(parent);
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(QStringLiteral("dd/MM/yy"));
        return picker;
    }
    case ControlKind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignCenter);
        return picture;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(text, parent);
    case ControlKind::ComboBox:
        return new QComboBox(parent);
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::GroupBox: {
        auto *box = new QGroupBox(text, parent);
        box->lower(); // behind the controls it frames
        return box;
    }
    }
    return nullptr;
}

} // namespace

void ControlSet::create(QWidget *parent, std::span<const ControlSpec> specs)
{
    m_specs = specs;
    for (const ControlSpec &spec : specs) {
        QWidget *widget = make(parent, spec);
        widget->setObjectName(QStringLiteral("control%1").arg(spec.id));
        widget->setProperty("controlId", spec.id);
        m_widgets[spec.id] = widget;
    }
}

void ControlSet::place(bool portrait) const
{
    for (const ControlSpec &spec : m_specs) {
        QWidget *widget = m_widgets.at(spec.id);
        QRect rect = portrait ? spec.portrait : spec.wide;
        // A drop-down combo box's template height includes its list; the box itself is one
        // line high.
        if (spec.kind == ControlKind::ComboBox)
            rect.setHeight(std::min(rect.height(), widget->sizeHint().height()));
        widget->setGeometry(rect);
    }
}

QWidget *ControlSet::widget(int id) const
{
    const auto found = m_widgets.find(id);
    return found == m_widgets.end() ? nullptr : found->second;
}

int ControlSet::idOf(const QWidget *widget) const
{
    for (const auto &[id, candidate] : m_widgets) {
        if (candidate == widget)
            return id;
    }
    return 0;
}

} // namespace tripvane
