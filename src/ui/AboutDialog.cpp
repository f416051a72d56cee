#include "AboutDialog.h"

#include "AppSettings.h"
#include "Images.h"

#include <QLabel>

namespace tripvane {

namespace {

using A = AboutDialog;

// The template's dialog units in pixels of the handheld's 8-point font (1.5 across, 1.625 down).
// clang-format off
constexpr ControlSpec aboutControls[] = {
    {A::Icon, ControlKind::Picture, nullptr, {21, 16, 32, 32}, {21, 16, 32, 32}},
    {A::ProductName, ControlKind::Label, u"Tripvane", {63, 18, 150, 14}, {63, 18, 150, 14}},
    {A::VersionLabel, ControlKind::Label, u"Version:", {63, 34, 52, 14}, {63, 34, 52, 14}},
    {A::Version, ControlKind::Label, nullptr, {117, 34, 68, 13}, {117, 34, 68, 13}},
    {A::MakerLine1, ControlKind::Label, u"Copyright (c) Velmora", {61, 58, 170, 14}, {61, 58, 170, 14}},
    {A::MakerLine2, ControlKind::Label, u"Mobile Computing", {61, 76, 170, 14}, {61, 76, 170, 14}},
    {A::MakerLine3, ControlKind::Label, u"Your trips, routes and", {63, 104, 170, 14}, {63, 104, 170, 14}},
    {A::MakerLine4, ControlKind::Label, u"mileage, kept on the road.", {63, 122, 170, 14}, {63, 122, 170, 14}},
};
// clang-format on

} // namespace

AboutDialog::AboutDialog(Services &services, const AppSettings &settings)
    : DeviceDialog(services, QStringLiteral("About"), aboutControls, QString())
{
    controls().as<QLabel>(Icon)->setPixmap(programIcon().pixmap(32, 32));
    controls().as<QLabel>(Version)->setText(
        QStringLiteral("%1.%2").arg(settings.MajorVersion).arg(settings.MinorVersion));
    relayout();
    services.inputPanel().hide();
}

} // namespace tripvane
