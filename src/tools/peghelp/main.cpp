// peghelp: the help viewer of the device. Started with one argument, the help command line.
#include "DeviceRoot.h"
#include "HelpLocation.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QString commandLine = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const tripvane::DeviceRoot device(tripvane::DeviceRoot::defaultPath());
    const tripvane::HelpLocation location = tripvane::resolveHelp(commandLine, device);
    const tripvane::HelpLocation contents =
        tripvane::resolveHelp(QStringLiteral("\\Windows\\tripvane.htc"), device);

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Help"));
    auto *browser = new QTextBrowser(&window);
    browser->setOpenExternalLinks(false);
    window.setCentralWidget(browser);
    // The way back to the list of sections, wherever the help was opened.
    QToolBar *bar = window.addToolBar(QStringLiteral("Help"));
    bar->setMovable(false);
    bar->addAction(QStringLiteral("Contents"), browser,
                   [&] { browser->setSource(QUrl::fromLocalFile(contents.file)); });
    QAction *back = bar->addAction(QStringLiteral("Back"), browser, &QTextBrowser::backward);
    back->setEnabled(false);
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    window.resize(240, 320);
    if (QFile::exists(location.file)) {
        browser->setSource(QUrl::fromLocalFile(location.file));
        if (!location.anchor.isEmpty())
            browser->scrollToAnchor(location.anchor);
    } else {
        browser->setPlainText(QStringLiteral("Help file not found: ") + location.file);
    }
    window.show();
    return app.exec();
}
