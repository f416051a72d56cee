#include "CategoryNameDialog.h"

#include "StringTable.h"
#include "TextRules.h"
#include "TripLog.h"

#include <QLineEdit>
#include <QPushButton>

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

constexpr int NameLimit = 20;

} // namespace

CategoryNameDialog::CategoryNameDialog(Services &services, TripLog &log)
    : CategoryNameDialog(services, log, false)
{}

CategoryNameDialog::CategoryNameDialog(Services &services, TripLog &log, const QString &oldName,
                                       bool throughTrips)
    : CategoryNameDialog(services, log, true)
{
    m_oldName = oldName;
    m_throughTrips = throughTrips;
    controls().as<QLineEdit>(m_edit)->setText(oldName);
    focusField(m_edit);
}

CategoryNameDialog::CategoryNameDialog(Services &services, TripLog &log, bool rename)
    : DeviceDialog(services,
                   rename ? QStringLiteral("Edit category") : QStringLiteral("New category"),
                   rename ? std::span<const ControlSpec>(editControls) : newControls, true)
    , m_log(log)
    , m_rename(rename)
    , m_edit(rename ? EditEdit : NewEdit)
    , m_ok(rename ? EditOkButton : NewOkButton)
    , m_cancel(rename ? EditCancelButton : NewCancelButton)
{
    auto *edit = controls().as<QLineEdit>(m_edit);
    edit->setMaxLength(NameLimit);
    connect(edit, &QLineEdit::textChanged, this, &CategoryNameDialog::textChanged);
    textChanged();
    relayout();
    focusField(m_edit);
}

void CategoryNameDialog::textChanged()
{
    const bool typed = !controls().as<QLineEdit>(m_edit)->text().isEmpty();
    controls().widget(m_ok)->setEnabled(typed);
    controls().as<QPushButton>(m_ok)->setDefault(typed);
    controls().as<QPushButton>(m_cancel)->setDefault(!typed);
}

void CategoryNameDialog::command(int id)
{
    if (id == m_cancel)
        done(m_cancel);
    else if (id == m_ok || id == TitleBarOkCommand)
        accept();
}

void CategoryNameDialog::accept()
{
    services().inputPanel().hide();
    const QString name = stripBlanks(controls().as<QLineEdit>(m_edit)->text());
    if (name.isEmpty()) {
        if (m_rename)
            services().beeper().beep();
        focusField(m_edit);
        return;
    }
    if (!isNameText(name)) {
        ask(IDS_NAME_RULE, MessageButtons::Ok);
        focusField(m_edit);
        return;
    }
    const QString normalised = normalisePlaceName(name);
    if (m_rename)
        m_log.renameCategory(m_oldName, normalised, m_throughTrips);
    else
        m_log.addCategory(normalised);
    done(m_ok);
}

} // namespace tripvane
