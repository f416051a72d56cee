// peghelp: the help viewer of the device. Started with one argument, the help command line.
#include "DeviceRoot.h"
#include "HelpLocation.h"

#include <QApplication>
#include <QFile>
#include <QTextBrowser>
#include <QUrl>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString commandLine = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const tripvane::HelpLocation location = tripvane::resolveHelp(
        commandLine, tripvane::DeviceRoot(tripvane::DeviceRoot::defaultPath()));

    QTextBrowser browser;
    browser.setWindowTitle(QStringLiteral("Help"));
    browser.setOpenExternalLinks(false);
    browser.resize(240, 320);
    if (QFile::exists(location.file)) {
        browser.setSource(QUrl::fromLocalFile(location.file));
        if (!location.anchor.isEmpty())
            browser.scrollToAnchor(location.anchor);
    } else {
        browser.setPlainText(QStringLiteral("Help file not found: ") + location.file);
    }
    browser.show();
    return app.exec();
}
