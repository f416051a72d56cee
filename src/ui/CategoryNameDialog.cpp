#include "CategoryNameDialog.h"

#include "StringTable.h"
#include "TextRules.h"

#include <QLineEdit>

namespace tripvane {

namespace {

using N = CategoryNameDialog;

// clang-format off
constexpr ControlSpec newControls[] = {
    {N::PromptLabel, ControlKind::Label, u"Enter a new category name:", {6, 10, 228, 18}, {6, 10, 228, 18}},
    {N::NewEdit, ControlKind::Edit, nullptr, {6, 32, 228, 20}, {6, 32, 228, 20}},
    {N::NewCancelButton, ControlKind::DefaultButton, u"Cancel", {83, 62, 73, 24}, {244, 4, 70, 24}},
    {N::NewOkButton, ControlKind::Button, u"OK", {161, 62, 73, 24}, {244, 32, 70, 24}},
};
constexpr ControlSpec editControls[] = {
    {N::PromptLabel, ControlKind::Label, u"Enter a new category name:", {6, 10, 228, 18}, {6, 10, 228, 18}},
    {N::EditEdit, ControlKind::Edit, nullptr, {6, 32, 228, 20}, {6, 32, 228, 20}},
    {N::EditCancelButton, ControlKind::DefaultButton, u"Cancel", {83, 62, 73, 24}, {244, 4, 70, 24}},
    {N::EditOkButton, ControlKind::Button, u"OK", {161, 62, 73, 24}, {244, 32, 70, 24}},
};
// clang-format on

} // namespace

CategoryNameDialog::CategoryNameDialog(Services &services, std::optional<QString> oldName)
    : DeviceDialog(services,
                   oldName ? QStringLiteral("Edit category") : QStringLiteral("New category"),
                   oldName ? std::span<const ControlSpec>(editControls) : newControls,
                   QStringLiteral("Categories"))
    , m_rename(oldName.has_value())
    , m_edit(oldName ? EditEdit : NewEdit)
    , m_ok(oldName ? EditOkButton : NewOkButton)
    , m_cancel(oldName ? EditCancelButton : NewCancelButton)
{
    controls().as<QLineEdit>(m_edit)->setMaxLength(FieldLimit::CategoryName);
    controls().as<QLineEdit>(m_edit)->setText(oldName.value_or(QString()));
    enableOkWhileTyped({m_edit}, m_ok, m_cancel);
    relayout();
    focusField(m_edit);
}

void CategoryNameDialog::accept()
{
    services().inputPanel().hide();
    const std::optional<QString> name = checkedName(m_edit, FieldLimit::CategoryName, m_rename);
    if (!name)
        return;
    m_name = *name;
    done(m_ok);
}

} // namespace tripvane
