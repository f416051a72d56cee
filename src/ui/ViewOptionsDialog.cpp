#include "ViewOptionsDialog.h"

#include "Records.h"

#include <QComboBox>
#include <QLabel>

namespace tripvane {

namespace {

using V = ViewOptionsDialog;

// clang-format off
constexpr ControlSpec optionControls[] = {
    {V::DateGroup, ControlKind::GroupBox, u"Date view type", {6, 20, 228, 69}, {6, 10, 180, 69}},
    {V::DateList, ControlKind::ComboBox, nullptr, {18, 39, 156, 140}, {18, 29, 156, 140}},
    {V::DateSampleLabel, ControlKind::Label, u"Sample:", {18, 65, 65, 18}, {18, 55, 65, 18}},
    {V::DateSample, ControlKind::Label, u"12-03-02", {94, 63, 80, 18}, {94, 53, 80, 18}},
    {V::MileageGroup, ControlKind::GroupBox, u"Mileage", {6, 93, 228, 90}, {6, 83, 180, 87}},
    {V::GroupingLabel, ControlKind::Label, u"Digit grouping symbol:", {18, 113, 140, 18}, {18, 101, 140, 18}},
    {V::GroupingList, ControlKind::ComboBox, nullptr, {18, 132, 156, 140}, {18, 120, 156, 140}},
    {V::AmountSampleLabel, ControlKind::Label, u"Sample:", {18, 157, 65, 18}, {18, 146, 65, 18}},
    {V::AmountSample, ControlKind::Label, u"1,000.87", {94, 157, 80, 18}, {94, 144, 80, 18}},
    {V::CancelButton, ControlKind::Button, u"Cancel", {7, 195, 80, 21}, {192, 18, 80, 21}},
    {V::OkButton, ControlKind::DefaultButton, u"OK", {153, 195, 80, 21}, {192, 57, 80, 21}},
};
// clang-format on

// Every choice is shown on one date and one amount.
QString dateSample(int view)
{
    MileageRecord sample;
    sample.setDate(makeDate(2005, 10, 29));
    return sample.dateTextFor(std::uint32_t(view));
}

QString amountSample(int view)
{
    return FormatAmount(100087, std::uint32_t(view));
}

} // namespace

ViewOptionsDialog::ViewOptionsDialog(Services &services, Views views)
    : DeviceDialog(services, QStringLiteral("View Options"), optionControls,
                   QStringLiteral("Settings"))
    , m_views(views)
{
    const struct
    {
        int list;
        int sample;
        QStringList items;
        std::uint32_t chosen;
        QString (*sampleFor)(int);
    } choices[] = {
        {DateList,
         DateSample,
         {QStringLiteral("dd - mm - yyyy"), QStringLiteral("dd / mm / yyyy"),
          QStringLiteral("mm - dd - yyyy"), QStringLiteral("mm / dd / yyyy")},
         views.dateView,
         dateSample},
        {GroupingList,
         AmountSample,
         {QStringLiteral(" , (comma)"), QStringLiteral(" . (dot)")},
         views.distanceView,
         amountSample},
    };
    for (const auto &choice : choices) {
        auto *list = controls().as<QComboBox>(choice.list);
        auto *sample = controls().as<QLabel>(choice.sample);
        list->addItems(choice.items);
        list->setCurrentIndex(choice.chosen < std::uint32_t(list->count()) ? int(choice.chosen)
                                                                           : -1);
        sample->setText(choice.sampleFor(int(choice.chosen)));
        connect(list, &QComboBox::currentIndexChanged, sample,
                [sample, sampleFor = choice.sampleFor](int index) {
                    if (index >= 0)
                        sample->setText(sampleFor(index));
                });
    }
    relayout();
    setInputPanelAfterDropDown(false);
    services.inputPanel().hide();
    controls().widget(DateList)->setFocus();
}

void ViewOptionsDialog::accept()
{
    m_views.dateView =
        std::uint32_t(std::max(0, controls().as<QComboBox>(DateList)->currentIndex()));
    m_views.distanceView =
        std::uint32_t(std::max(0, controls().as<QComboBox>(GroupingList)->currentIndex()));
    done(OkButton);
}

} // namespace tripvane
