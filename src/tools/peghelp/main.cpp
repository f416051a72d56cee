// peghelp: the help viewer of the device. Started with one argument, the help command line;
// each further line on its input is another command line to show, and the end of its input
// (the program that started it has ended) ends it.
#include "DeviceRoot.h"
#include "HelpLocation.h"

#include <QApplication>
#include <QFile>
#include <QMainWindow>
#include <QSocketNotifier>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>

#include <sys/stat.h>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QByteArray pending;
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
    // A reader names the page by the document it shows.
    browser->setAccessibleName(QStringLiteral("Help"));
    QObject::connect(browser, &QTextBrowser::sourceChanged, browser, [browser] {
        const QString title = browser->documentTitle();
        browser->setAccessibleName(title.isEmpty() ? QStringLiteral("Help") : title);
    });
    // The way back to the list of sections, wherever the help was opened.
    QToolBar *bar = window.addToolBar(QStringLiteral("Help"));
    bar->setMovable(false);
    bar->addAction(QStringLiteral("Contents"), browser,
                   [&] { browser->setSource(QUrl::fromLocalFile(contents.file)); });
    QAction *back = bar->addAction(QStringLiteral("Back"), browser, &QTextBrowser::backward);
    back->setEnabled(false);
    QObject::connect(browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    window.resize(240, 320);
    const auto show = [&](const tripvane::HelpLocation &shown) {
        if (QFile::exists(shown.file)) {
            browser->setSource(QUrl::fromLocalFile(shown.file));
            if (!shown.anchor.isEmpty())
                browser->scrollToAnchor(shown.anchor);
        } else {
            browser->setPlainText(QStringLiteral("Help file not found: ") + shown.file);
        }
    };
    show(location);
    window.show();

    // Only a pipe is listened to: a viewer started from a terminal stays until it is closed.
    struct stat input = {};
    if (::fstat(STDIN_FILENO, &input) == 0 && S_ISFIFO(input.st_mode)) {
        auto *requests = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &window);
        QObject::connect(requests, &QSocketNotifier::activated, &window, [&] {
            char buffer[4096];
            const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                app.quit();
                return;
            }
            pending.append(buffer, got);
            qsizetype end = -1;
            while ((end = pending.indexOf('\n')) >= 0) {
                const QString next = QString::fromUtf8(pending.left(end));
                pending.remove(0, end + 1);
                show(tripvane::resolveHelp(next, device));
                window.showNormal();
                window.raise();
                window.activateWindow();
            }
            // A line longer than any command line is no request.
            if (pending.size() > 4096)
                pending.clear();
        });
    }
    return app.exec();
}
