#pragma once

#include "DeviceDialog.h"

namespace tripvane {

struct AppSettings;

// "About" (102): the product, its installed version and the maker. Its help opens the help
// file's contents.
class AboutDialog final : public DeviceDialog
{
    Q_OBJECT

public:
    enum Control {
        Icon = 1075,
        ProductName = 1076,
        VersionLabel = 1077,
        Version = 1080,
        MakerLine1 = 1081,
        MakerLine2 = 1082,
        MakerLine3 = 1083,
        MakerLine4 = 1084,
    };
    static constexpr int LeaveCode = TitleBarOkCommand;

    AboutDialog(Services &services, const AppSettings &settings);

    int cancelCode() const override { return LeaveCode; }
};

} // namespace tripvane
