#pragma once

#include "DeviceDialog.h"

namespace tripvane {

// "View Options" (1150): the order of dates and the grouping of amounts, each with a sample.
// OK stores both choices; the caller shows every list again in the new forms.
class ViewOptionsDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        DateGroup = 1151,
        DateList = 1152,
        DateSampleLabel = 1153,
        DateSample = 1154,
        MileageGroup = 1155,
        GroupingLabel = 1156,
        GroupingList = 1157,
        AmountSampleLabel = 1158,
        AmountSample = 1159,
        CancelButton = 1160,
        OkButton = 1161,
    };

    // The two settings the dialog edits: DateTypeView and DistanceTypeView.
    struct Views
    {
        std::uint32_t dateView = 0;
        std::uint32_t distanceView = 0;
    };
    ViewOptionsDialog(Services &services, Views views);

    // What was chosen, once the dialog ended with OK.
    Views chosen() const { return m_views; }
    int okCode() const override { return OkButton; }
    int cancelCode() const override { return CancelButton; }

private:
    void accept() override;

    Views m_views;
};

} // namespace tripvane
