#include "Testkit.h"

#include "Databases.h"
#include "DeviceDialog.h"
#include "DeviceFrame.h"
#include "ListView.h"
#include "MainWindow.h"
#include "Program.h"
#include "ProgramState.h"
#include "StatusPane.h"
#include "TripLog.h"

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>

namespace tripvane {

namespace {

const QString SettingsKey = QStringLiteral("Software\\Velmora\\Tripvane\\Settings");

} // namespace

DeviceSession::DeviceSession(const QString &storePath)
{
    if (store.open(storePath) != ObjectStore::OpenStatus::Ok)
        return;
    databases = std::make_unique<Databases>(store);
    m_open = databases->openAll(categories, book);
    if (m_open)
        loaded = databases->loadRecords(records, scratch);
}

DeviceSession::~DeviceSession() = default;

DialogDriver::DialogDriver(QDialog &dialog)
    : m_dialog(dynamic_cast<DeviceDialog &>(dialog))
{}

QWidget *DialogDriver::control(int id) const
{
    QWidget *widget = m_dialog.controls().widget(id);
    if (!widget)
        ADD_FAILURE() << "no control " << id << " in " << m_dialog.metaObject()->className();
    return widget;
}

void DialogDriver::setText(int id, const QString &text)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control(id))) {
        edit->setFocus();
        edit->selectAll();
        edit->insert(text); // typed, so the length limit applies
    } else {
        ADD_FAILURE() << "control " << id << " is not an edit field";
    }
}

ListDriver DialogDriver::list(int id) const
{
    auto *view = m_dialog.findChild<ListView *>(QStringLiteral("control%1").arg(id));
    if (!view)
        ADD_FAILURE() << "no list view " << id << " in " << m_dialog.metaObject()->className();
    return ListDriver(view);
}

ListDriver::ListDriver(ListView *view)
    : m_view(view)
{
    if (!view)
        throw std::runtime_error("no such list view"); // gtest reports it as the test's failure
    // Every change of the list keeps the item-model contract, or the test ends there.
    if (watchModels && !view->model()->findChild<QAbstractItemModelTester *>())
        new QAbstractItemModelTester(
            view->model(), QAbstractItemModelTester::FailureReportingMode::Fatal, view->model());
}

int ListDriver::rowCount() const
{
    return m_view->model()->rowCount();
}

QStringList ListDriver::row(int index) const
{
    QStringList texts;
    for (int column = 0; column < m_view->model()->columnCount(); ++column)
        texts.append(m_view->model()->index(index, column).data().toString());
    return texts;
}

std::vector<QStringList> ListDriver::rows() const
{
    std::vector<QStringList> shown;
    for (int i = 0; i < rowCount(); ++i)
        shown.push_back(row(i));
    return shown;
}

int ListDriver::rowImage(int index) const
{
    return m_view->model()->index(index, 0).data(ListModel::ImageRole).toInt();
}

int ListDriver::headerImage(int column) const
{
    return m_view->listModel().headerImage(column);
}

QString ListDriver::headerText(int column) const
{
    return m_view->model()->headerData(column, Qt::Horizontal).toString();
}

int ListDriver::selectedRow() const
{
    return m_view->selectedRow();
}

void ListDriver::selectRow(int row)
{
    m_view->selectRow(row);
}

void ListDriver::tapRow(int row)
{
    selectRow(row);
    emit m_view->clicked(m_view->model()->index(row, 0));
}

void ListDriver::tapHeader(int column)
{
    emit m_view->header()->sectionClicked(column);
}

QRect ListDriver::rect() const
{
    return m_view->geometry();
}

QPalette darkPalette()
{
    QPalette dark;
    const QColor window(0x35, 0x35, 0x35);
    for (auto [role, colour] : {std::pair{QPalette::Window, window},
                                {QPalette::Base, QColor(0x2a, 0x2a, 0x2a)},
                                {QPalette::AlternateBase, window},
                                {QPalette::Button, window},
                                {QPalette::WindowText, QColor(Qt::white)},
                                {QPalette::Text, QColor(Qt::white)},
                                {QPalette::ButtonText, QColor(Qt::white)},
                                {QPalette::Highlight, QColor(0x2a, 0x82, 0xda)},
                                {QPalette::HighlightedText, QColor(Qt::black)}})
        dark.setColor(role, colour);
    return dark;
}

QString DialogDriver::text(int id) const
{
    QWidget *widget = control(id);
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return edit->text();
    if (auto *label = qobject_cast<QLabel *>(widget))
        return label->buddy() ? withoutMnemonic(label->text()) : label->text();
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return combo->currentText();
    if (auto *picker = qobject_cast<QDateEdit *>(widget))
        return picker->text();
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        return withoutMnemonic(button->text());
    return {};
}

void DialogDriver::setDate(int id, QDate date)
{
    if (auto *picker = qobject_cast<QDateEdit *>(control(id)))
        picker->setDate(date);
    else
        ADD_FAILURE() << "control " << id << " is not a date picker";
}

QDate DialogDriver::date(int id) const
{
    auto *picker = qobject_cast<QDateEdit *>(control(id));
    return picker ? picker->date() : QDate();
}

void DialogDriver::click(int id)
{
    auto *button = qobject_cast<QAbstractButton *>(control(id));
    if (!button) {
        ADD_FAILURE() << "control " << id << " is not a button";
        return;
    }
    button->setFocus();
    button->click();
}

void DialogDriver::shellOk()
{
    m_dialog.command(1);
}

void DialogDriver::cancel()
{
    m_dialog.done(m_dialog.cancelCode());
}

void DialogDriver::select(int id, const QString &text)
{
    auto *combo = qobject_cast<QComboBox *>(control(id));
    if (!combo) {
        ADD_FAILURE() << "control " << id << " is not a combo box";
        return;
    }
    const int index = text.isEmpty() ? -1 : combo->findText(text);
    if (!text.isEmpty() && index < 0)
        ADD_FAILURE() << "no entry " << text.toStdString() << " in control " << id;
    combo->setCurrentIndex(index);
}

QStringList DialogDriver::items(int id) const
{
    QStringList result;
    if (auto *combo = qobject_cast<QComboBox *>(control(id)))
        for (int i = 0; i < combo->count(); ++i)
            result.append(combo->itemText(i));
    return result;
}

bool DialogDriver::isVisible(int id) const
{
    QWidget *widget = control(id);
    return widget && !widget->isHidden();
}

int DialogDriver::focusedControl() const
{
    QWidget *focused = m_dialog.focusWidget();
    while (focused && focused != &m_dialog) {
        const int id = focused->property("controlId").toInt();
        if (id != 0)
            return id;
        focused = focused->parentWidget();
    }
    return 0;
}

QString DialogDriver::caption() const
{
    return m_dialog.windowTitle();
}

int DialogDriver::result() const
{
    return m_dialog.result();
}

TestApp::TestApp(QSize screen, const QString &devicePath)
{
    if (devicePath.isEmpty()) {
        m_tempDir = std::make_unique<QTemporaryDir>();
        m_devicePath = m_tempDir->filePath(QStringLiteral("device"));
    } else {
        m_devicePath = devicePath;
    }
    kit.services().screen().setSize(screen);
}

TestApp::~TestApp()
{
    if (isRunning())
        close();
    m_program.reset();
}

void TestApp::seed(const std::vector<MileageRecord> &trips, std::int32_t starts, std::int32_t ends,
                   SystemTime statusDate)
{
    const DeviceRoot device(m_devicePath);
    ASSERT_TRUE(device.prepare());
    DeviceSession session(device.storePath());
    ASSERT_TRUE(session.isOpen());
    for (const MileageRecord &trip : trips) {
        std::int32_t key = 0;
        ASSERT_TRUE(session.databases->addRecord(trip, kit.clock.nowUtc(), key));
    }
    if (starts != 0 || ends != 0) {
        OdometerHolders holders;
        ASSERT_TRUE(session.databases->loadStatus(holders, kit.clock.localToday()));
        holders.start.setDistance(starts);
        holders.end.setDistance(ends);
        holders.end.setDate(statusDate);
        ASSERT_TRUE(session.databases->writeStatus(holders));
    }
}

void TestApp::seedRegistry(const QString &key, const QString &name, RegistryValue value)
{
    const DeviceRoot device(m_devicePath);
    ASSERT_TRUE(device.prepare());
    ObjectStore store;
    ASSERT_EQ(store.open(device.storePath()), ObjectStore::OpenStatus::Ok);
    ASSERT_TRUE(store.createKey(key));
    ASSERT_TRUE(store.setValue(key, name, value));
}

void TestApp::seedSetting(const char *name, std::uint32_t value)
{
    seedRegistry(SettingsKey, QString::fromLatin1(name), {REG_DWORD, value, {}});
}

bool TestApp::start()
{
    // The desktop settings (the zoom) beside the device, never the user's own.
    m_program =
        std::make_unique<Program>(kit.services(), DeviceRoot(m_devicePath), zoomSettingsFile());
    if (!m_program->start())
        return false;
    list(); // its model is watched from here on
    return true;
}

bool TestApp::isRunning() const
{
    return m_program && m_program->frame() && !m_program->hasExited();
}

void TestApp::close()
{
    if (m_program && m_program->frame())
        m_program->frame()->close();
}

MainWindow &TestApp::window()
{
    return *m_program->mainWindow();
}

DeviceFrame &TestApp::frame()
{
    return *m_program->frame();
}

StatusPane &TestApp::pane()
{
    return *window().pane();
}

ProgramState &TestApp::state()
{
    return m_program->state();
}

TripLog &TestApp::log()
{
    return m_program->log();
}

QString TestApp::zoomSettingsFile() const
{
    return m_devicePath + QStringLiteral(".desktop.conf");
}

void TestApp::showFrame()
{
    frame().show();
    frame().activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame()));
    kit.dialogRunner.showIn(&frame());
}

void TestApp::type(const QString &text)
{
    for (const QChar c : text)
        QTest::keyClick(frame().windowHandle(), c.toLatin1());
}

void TestApp::press(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(frame().windowHandle(), key, modifiers);
}

void TestApp::onDialog(std::function<void(DialogDriver &)> script)
{
    kit.dialogRunner.expect([script = std::move(script)](QDialog &d) {
        DialogDriver dialog(d);
        script(dialog);
    });
}

void TestApp::command(int id)
{
    window().command(id);
}

bool TestApp::isCommandEnabled(int id)
{
    return window().isCommandEnabled(id);
}

void TestApp::clickPane(int controlId)
{
    if (auto *button = pane().controls().as<QAbstractButton>(controlId))
        button->click();
    else
        ADD_FAILURE() << "pane has no button " << controlId;
}

void TestApp::resizeScreen(QSize size)
{
    frame().setScreenSize(size);
    QApplication::processEvents();
}

ListDriver TestApp::list()
{
    return ListDriver(&pane().listView());
}

QString TestApp::statusValue(int controlId)
{
    auto *label = pane().controls().as<QLabel>(controlId);
    return label ? label->text() : QString();
}

QString TestApp::heading()
{
    return pane().headingText();
}

QRect TestApp::paneControlRect(int controlId)
{
    QWidget *widget = pane().controls().widget(controlId);
    return widget ? widget->geometry() : QRect();
}

std::vector<MileageRecord> TestApp::storedTrips()
{
    DeviceSession session(DeviceRoot(m_devicePath).storePath());
    EXPECT_TRUE(session.isOpen());
    std::vector<MileageRecord> trips;
    for (ListPosition i = 0; i < session.records.size(); ++i)
        trips.push_back(session.records.at(i));
    return trips;
}

std::vector<QString> TestApp::storedCategories()
{
    const DeviceSession session(DeviceRoot(m_devicePath).storePath());
    std::vector<QString> names;
    for (ListPosition i = 0; i < session.categories.size(); ++i)
        names.push_back(session.categories.at(i).name);
    return names;
}

std::vector<QStringList> TestApp::storedRoutes()
{
    const DeviceSession session(DeviceRoot(m_devicePath).storePath());
    std::vector<QStringList> routes;
    for (ListPosition i = 0; i < session.book.size(); ++i) {
        const BookRoute &route = session.book.at(i);
        routes.push_back({route.startPlace, route.destination, route.distanceTextFor(0)});
    }
    return routes;
}

std::optional<RegistryValue> TestApp::registryValue(const QString &key, const QString &name)
{
    ObjectStore store;
    if (store.open(DeviceRoot(m_devicePath).storePath()) != ObjectStore::OpenStatus::Ok)
        return std::nullopt;
    return store.queryValue(key, name);
}

std::optional<RegistryValue> TestApp::setting(const char *name)
{
    return registryValue(SettingsKey, QString::fromLatin1(name));
}

} // namespace tripvane
