#include "ExportDialog.h"

#include "CsvExport.h"
#include "SettingValues.h"
#include "StringTable.h"
#include "TextRules.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

namespace tripvane {

namespace {

using E = ExportDialog;

// clang-format off
constexpr ControlSpec tripsControls[] = {
    {E::FileGroup, ControlKind::GroupBox, u"Comma Separated Values file", {6, 10, 228, 45}, {6, 3, 195, 45}},
    {E::NameLabel, ControlKind::Label, u"Name:", {14, 30, 40, 18}, {13, 23, 35, 18}},
    {E::NameEdit, ControlKind::Edit, nullptr, {65, 27, 140, 20}, {60, 20, 130, 20}},
    {E::TypeGroup, ControlKind::GroupBox, u"Save file as", {6, 70, 110, 60}, {204, 3, 110, 50}},
    {E::AsciiRadio, ControlKind::RadioButton, u"ASCII", {15, 85, 80, 18}, {214, 17, 80, 16}},
    {E::UnicodeRadio, ControlKind::RadioButton, u"UNICODE", {15, 105, 80, 18}, {214, 34, 80, 16}},
    {E::FolderGroup, ControlKind::GroupBox, u"Save in folder", {125, 70, 110, 60}, {204, 55, 110, 50}},
    {E::BusinessRadio, ControlKind::RadioButton, u"Business", {135, 85, 77, 18}, {214, 70, 77, 16}},
    {E::PersonalRadio, ControlKind::RadioButton, u"Personal", {135, 105, 77, 18}, {214, 87, 77, 16}},
    {E::CancelButton, ControlKind::Button, u"Cancel", {8, 145, 80, 21}, {8, 63, 80, 21}},
    {E::OkButton, ControlKind::DefaultButton, u"OK", {153, 145, 80, 21}, {120, 63, 80, 21}},
};
// clang-format on

// The report's dialog is the trips' one with its own ids.
constexpr auto reportControls = withIds(tripsControls, ExportDialog::reportId);

constexpr int NameLimit = 128;

} // namespace

ExportDialog::ExportDialog(Services &services, const ExportOptions &options, Kind kind,
                           QString rememberedName, Export exportFile)
    : DeviceDialog(
          services, QStringLiteral("Export File Options"),
          kind == Kind::Report ? std::span<const ControlSpec>(reportControls) : tripsControls,
          kind == Kind::Report ? QStringLiteral("Exportrapport") : QStringLiteral("Export"))
    , m_options(options)
    , m_kind(kind)
    , m_rememberedName(std::move(rememberedName))
    , m_export(std::move(exportFile))
{
    // Two choices of two: each pair is a group of its own.
    for (auto [first, second] :
         {std::pair{AsciiRadio, UnicodeRadio}, std::pair{BusinessRadio, PersonalRadio}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(controls().as<QRadioButton>(id(first)));
        group->addButton(controls().as<QRadioButton>(id(second)));
    }
    controls()
        .as<QRadioButton>(id(options.fileType == UnicodeFile ? UnicodeRadio : AsciiRadio))
        ->setChecked(true);
    controls()
        .as<QRadioButton>(id(options.folder == BusinessFolder ? BusinessRadio : PersonalRadio))
        ->setChecked(true);
    auto *name = controls().as<QLineEdit>(id(NameEdit));
    name->setMaxLength(NameLimit);
    name->setText(m_rememberedName);
    relayout();
    focusField(id(NameEdit));
}

void ExportDialog::accept()
{
    services().inputPanel().hide();
    // The choices stand even when the export then fails.
    m_options.fileType =
        controls().as<QRadioButton>(id(UnicodeRadio))->isChecked() ? UnicodeFile : AsciiFile;
    m_options.folder = controls().as<QRadioButton>(id(BusinessRadio))->isChecked() ? BusinessFolder
                                                                                   : PersonalFolder;
    const int field = id(NameEdit);
    const QString typed = controls().as<QLineEdit>(field)->text();
    if (typed.isEmpty()) {
        focusField(field);
        return;
    }
    const QString name = stripBlanks(typed);
    if (name.isEmpty() || !isNameText(name)) {
        ask(IDS_NAME_RULE, MessageButtons::Ok);
        focusField(field);
        return;
    }
    m_rememberedName = name;
    int written = 0;
    {
        WaitCursorGuard busy(services().waitCursor());
        written = m_export(name, m_options);
    }
    if (written != 1) {
        focusField(field);
        return;
    }
    ask(QStringLiteral("OK !"), MessageButtons::Ok);
    done(SuccessCode);
}

} // namespace tripvane
