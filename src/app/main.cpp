#include "DeviceFrame.h"
#include "Services.h"
#include "StringTable.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    auto services = tripvane::makeDesktopServices();

    tripvane::DeviceFrame frame;
    frame.setCaption(tripvane::loadString(tripvane::IDS_TITLE));
    frame.show();
    return app.exec();
}
