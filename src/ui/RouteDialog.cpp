#include "RouteDialog.h"

#include "AppSettings.h"
#include "TextRules.h"
#include "TripLog.h"

#include <QLineEdit>

namespace tripvane {

namespace {

using R = RouteDialog;

// clang-format off
constexpr ControlSpec newControls[] = {
    {R::StartLabel, ControlKind::Label, u"Starting Place:", {6, 8, 228, 16}, {6, 6, 228, 16}},
    {R::StartEdit, ControlKind::Edit, nullptr, {6, 26, 228, 20}, {6, 22, 228, 20}},
    {R::DestinationLabel, ControlKind::Label, u"Destination:", {6, 52, 228, 16}, {6, 46, 228, 16}},
    {R::DestinationEdit, ControlKind::Edit, nullptr, {6, 70, 228, 20}, {6, 62, 228, 20}},
    {R::MileageLabel, ControlKind::Label, u"Mileage:", {6, 96, 100, 16}, {6, 86, 100, 16}},
    {R::MileageEdit, ControlKind::Edit, nullptr, {6, 114, 100, 20}, {6, 102, 100, 20}},
    {R::CancelButton, ControlKind::DefaultButton, u"Cancel", {83, 146, 73, 24}, {244, 4, 70, 24}},
    {R::OkButton, ControlKind::Button, u"OK", {161, 146, 73, 24}, {244, 32, 70, 24}},
};
// clang-format on

// The edit dialog is the new one with its own ids.
constexpr auto editControls =
    withIds(newControls, [](int id) { return id + RouteDialog::EditOffset; });

// The place fields take 35 characters, of which the first FieldLimit::Place are kept.
constexpr int PlaceFieldLimit = 35;

} // namespace

RouteDialog::RouteDialog(Services &services, const AppSettings &settings, const TripLog &log,
                         std::optional<int> edited)
    : DeviceDialog(services, edited ? QStringLiteral("Edit route") : QStringLiteral("New route"),
                   edited ? std::span<const ControlSpec>(editControls) : newControls,
                   QStringLiteral("Rittenboek"))
    , m_settings(settings)
    , m_log(log)
    , m_position(edited.value_or(-1))
    , m_edit(edited.has_value())
{
    for (auto [field, limit] : {std::pair{StartEdit, PlaceFieldLimit},
                                {DestinationEdit, PlaceFieldLimit},
                                {MileageEdit, FieldLimit::AmountText}})
        controls().as<QLineEdit>(id(field))->setMaxLength(limit);
    if (m_edit && m_position >= 0 && ListPosition(m_position) < log.book().size()) {
        const BookRoute &route = log.book().at(ListPosition(m_position));
        controls().as<QLineEdit>(id(StartEdit))->setText(route.startPlace);
        controls().as<QLineEdit>(id(DestinationEdit))->setText(route.destination);
        controls()
            .as<QLineEdit>(id(MileageEdit))
            ->setText(route.distanceTextFor(settings.DistanceTypeView));
    }
    enableOkWhileTyped({id(StartEdit), id(DestinationEdit), id(MileageEdit)}, id(OkButton),
                       id(CancelButton));
    relayout();
    focusField(id(StartEdit));
}

void RouteDialog::accept()
{
    services().inputPanel().hide();
    BookRoute route;
    const std::optional<QString> start = checkedName(id(StartEdit), FieldLimit::Place, false);
    if (!start)
        return;
    route.setStartPlace(*start);
    const std::optional<QString> destination =
        checkedName(id(DestinationEdit), FieldLimit::Place, false);
    if (!destination)
        return;
    route.setDestination(*destination);
    const int mileage = id(MileageEdit);
    if (controls().as<QLineEdit>(mileage)->text().isEmpty()) {
        if (m_edit)
            services().beeper().beep();
        focusField(mileage);
        return;
    }
    const std::optional<QString> distance = checkedAmount(mileage, m_settings.DistanceTypeView);
    if (!distance)
        return;
    SetAmountFromText(route, *distance, m_settings.DistanceTypeView);
    const bool held = m_position >= 0 && ListPosition(m_position) < m_log.book().size();
    if (m_edit && held)
        m_replaces = ListPosition(m_position);
    m_route = route;
    done(id(OkButton));
}

} // namespace tripvane
