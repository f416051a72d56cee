#include "ControlLayout.h"

#include "DatePicker.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>
#include <optional>
#include <set>

namespace tripvane {

namespace {

// Qt on Linux names a combo box by its entry, so that a reader says "Shopping" where the box is
// the Category: the box is named as its label says, and tells its entry as its value. Its list
// only shows when dropped down, as a window of its own.
class LabelledComboBox final : public QAccessibleWidget
{
public:
    explicit LabelledComboBox(QComboBox *box)
        : QAccessibleWidget(box, QAccessible::ComboBox)
    {}
    QString text(QAccessible::Text kind) const override
    {
        const auto *box = static_cast<const QComboBox *>(widget());
        if (kind == QAccessible::Value ||
            (kind == QAccessible::Name && box->accessibleName().isEmpty()))
            return box->currentText();
        return QAccessibleWidget::text(kind);
    }
};

// A name longer than the box ends in an ellipsis instead of a cut letter; the whole name is its
// tool tip.
class FieldComboBox final : public QComboBox
{
public:
    explicit FieldComboBox(QWidget *parent)
        : QComboBox(parent)
    {
        connect(this, &QComboBox::currentTextChanged, this, &FieldComboBox::fitTip);
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QComboBox::resizeEvent(event);
        fitTip();
    }
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        option.currentText =
            fontMetrics().elidedText(option.currentText, Qt::ElideRight, shownWidth());
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

private:
    void fitTip()
    {
        const QString text = currentText();
        setToolTip(fontMetrics().horizontalAdvance(text) > shownWidth() ? text : QString());
    }
    int shownWidth() const
    {
        QStyleOptionComboBox option;
        initStyleOption(&option);
        return style()
                   ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                    this)
                   .width() -
               4;
    }
};

QAccessibleInterface *labelledComboBox(const QString &key, QObject *object)
{
    if (key == QLatin1String("QComboBox") && object->isWidgetType())
        return new LabelledComboBox(static_cast<QComboBox *>(object));
    return nullptr;
}

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
    case ControlKind::DatePicker:
        return new DatePicker(parent);
    case ControlKind::Picture: {
        auto *picture = new QLabel(parent);
        picture->setAlignment(Qt::AlignCenter);
        return picture;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(text, parent);
    case ControlKind::ComboBox: {
        static const bool readByLabel = (QAccessible::installFactory(labelledComboBox), true);
        Q_UNUSED(readByLabel);
        return new FieldComboBox(parent);
    }
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

bool isField(ControlKind kind)
{
    return kind == ControlKind::Edit || kind == ControlKind::DatePicker ||
           kind == ControlKind::ComboBox || kind == ControlKind::ListBox;
}

bool takesMnemonic(ControlKind kind)
{
    return kind == ControlKind::Button || kind == ControlKind::DefaultButton ||
           kind == ControlKind::CheckBox || kind == ControlKind::RadioButton;
}

// The label a field is known by: the nearest one on its row to its left, else the nearest one
// just above it.
const ControlSpec *labelOf(const ControlSpec &field, std::span<const ControlSpec> specs)
{
    QRect at = field.portrait;
    // A combo box's template holds its dropped-down list: the box is its first line.
    if (field.kind == ControlKind::ComboBox)
        at.setHeight(std::min(at.height(), 20));
    const ControlSpec *found = nullptr;
    int distance = 0;
    for (const bool sameRow : {true, false}) {
        for (const ControlSpec &spec : specs) {
            if (spec.kind != ControlKind::Label || !spec.text)
                continue;
            const QRect label = spec.portrait;
            int gap = -1;
            if (sameRow && std::abs(label.center().y() - at.center().y()) <= 6 &&
                label.right() <= at.left() + 2)
                gap = at.left() - label.right();
            else if (!sameRow && label.bottom() <= at.top() + 2 &&
                     at.top() - label.bottom() <= 24 && label.left() < at.right() &&
                     at.left() < label.right())
                gap = at.top() - label.bottom();
            if (gap >= 0 && (!found || gap < distance)) {
                found = &spec;
                distance = gap;
            }
        }
        if (found)
            return found;
    }
    return nullptr;
}

} // namespace

QString withMnemonic(const QString &text, QString &taken)
{
    if (text.contains(QLatin1Char('&')))
        return text;
    auto free = [&](QChar c) { return c.isLetterOrNumber() && !taken.contains(c.toLower()); };
    // The first letter of a word where one is free, else any letter.
    qsizetype chosen = -1;
    for (qsizetype i = 0; i < text.size() && chosen < 0; ++i)
        if (free(text[i]) && (i == 0 || !text[i - 1].isLetterOrNumber()))
            chosen = i;
    for (qsizetype i = 0; i < text.size() && chosen < 0; ++i)
        if (free(text[i]))
            chosen = i;
    if (chosen < 0)
        return text;
    taken.append(text[chosen].toLower());
    return QString(text).insert(chosen, QLatin1Char('&'));
}

QString withoutMnemonic(const QString &text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size())
            ++i; // "&&" stands for one ampersand
        plain.append(text[i]);
    }
    return plain;
}

void ControlSet::create(QWidget *parent, std::span<const ControlSpec> specs)
{
    m_specs = specs;
    for (const ControlSpec &spec : specs) {
        QWidget *widget = make(parent, spec);
        widget->setObjectName(QStringLiteral("control%1").arg(spec.id));
        widget->setProperty("controlId", spec.id);
        m_widgets[spec.id] = widget;
    }
    QString taken;
    for (const ControlSpec &spec : specs) {
        if (!isField(spec.kind))
            continue;
        if (const ControlSpec *label = labelOf(spec, specs)) {
            auto *buddy = as<QLabel>(label->id);
            buddy->setBuddy(m_widgets.at(spec.id));
            buddy->setText(withMnemonic(buddy->text(), taken));
            // Said before the field's value: a combo box would otherwise be called by its entry.
            QString name = QString::fromUtf16(label->text);
            if (name.endsWith(QLatin1Char(':')))
                name.chop(1);
            m_widgets.at(spec.id)->setAccessibleName(name);
        } else {
            // A field with no label of its own is what its dialog is about.
            m_widgets.at(spec.id)->setAccessibleName(parent->windowTitle());
        }
    }
    for (const ControlSpec &spec : specs) {
        if (auto *button = as<QAbstractButton>(spec.id); button && takesMnemonic(spec.kind))
            button->setText(withMnemonic(button->text(), taken));
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

void orderTabsVisually(QWidget &parent)
{
    std::vector<std::pair<QRect, QWidget *>> controls;
    for (QWidget *child : parent.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (child->focusPolicy() & Qt::TabFocus)
            controls.emplace_back(child->geometry(), child);
    // Rows first: controls whose middles lie within a few pixels of the row's first share it.
    std::stable_sort(controls.begin(), controls.end(), [](const auto &a, const auto &b) {
        return a.first.center().y() < b.first.center().y();
    });
    std::vector<std::pair<QPoint, QWidget *>> order;
    int row = 0;
    std::optional<int> rowMiddle;
    for (const auto &[rect, widget] : controls) {
        if (!rowMiddle || rect.center().y() - *rowMiddle > 6) {
            ++row;
            rowMiddle = rect.center().y();
        }
        order.emplace_back(QPoint(rect.left(), row), widget);
    }
    // OK and Cancel come last, with the buttons placed in their row or column (Delete between
    // them), in the order they stand.
    auto isClosing = [](QWidget *widget) {
        auto *button = qobject_cast<QAbstractButton *>(widget);
        if (!button)
            return false;
        const QString text = withoutMnemonic(button->text());
        return text == QLatin1String("OK") || text == QLatin1String("Cancel");
    };
    std::vector<QPoint> anchors;
    for (const auto &[place, widget] : order) {
        if (isClosing(widget))
            anchors.push_back(place);
    }
    const auto allShare = [&](auto part) {
        return std::ranges::all_of(anchors, [&](QPoint p) { return part(p) == part(anchors[0]); });
    };
    const bool oneRow = !anchors.empty() && allShare([](QPoint p) { return p.y(); });
    const bool oneColumn = !anchors.empty() && allShare([](QPoint p) { return p.x(); });
    std::set<QWidget *> closing;
    for (const auto &[place, widget] : order) {
        if (isClosing(widget) ||
            (qobject_cast<QPushButton *>(widget) && ((oneRow && place.y() == anchors[0].y()) ||
                                                     (oneColumn && place.x() == anchors[0].x()))))
            closing.insert(widget);
    }
    std::stable_sort(order.begin(), order.end(), [&](const auto &a, const auto &b) {
        const bool aLast = closing.contains(a.second);
        const bool bLast = closing.contains(b.second);
        if (aLast != bLast)
            return bLast;
        return std::pair(a.first.y(), a.first.x()) < std::pair(b.first.y(), b.first.x());
    });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
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
