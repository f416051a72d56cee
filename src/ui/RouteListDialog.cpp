#include "RouteListDialog.h"

#include "AppSettings.h"
#include "ListView.h"
#include "LogLists.h"
#include "Services.h"
#include "StringTable.h"
#include "TripLog.h"

namespace tripvane {

namespace {

const QRect listPortrait(6, 25, 226, 124);
const QRect listWide(6, 25, 304, 124);

} // namespace

RouteListDialog::RouteListDialog(Services &services, std::span<const ControlSpec> controls,
                                 const AppSettings &settings, const TripLog &log,
                                 BookActions actions, int selectedRoute)
    : DeviceDialog(services, loadString(IDS_BOOK_HEADING), controls, QStringLiteral("Rittenboek"))
    , m_settings(settings)
    , m_log(log)
    , m_actions(std::move(actions))
    , m_selectedRoute(selectedRoute)
    , m_model(makeRouteListModel(log, settings, this))
    , m_view(new ListView(ListControl, *m_model, this))
    , m_sort(
          *m_model, services.waitCursor(),
          {settings.SortMileageBook, settings.SortOrderMileageBook},
          [this](int column, std::uint32_t order) { return sortKeepingSelection(column, order); })
{
    connect(m_view, &ListView::rowTapped, this, [this, &services] {
        services.inputPanel().hide();
        rowTapped();
    });
    connect(m_view, &ListView::columnTapped, this, &RouteListDialog::columnTapped);
    m_built = buildList();
}

bool RouteListDialog::hasSelectedRoute() const
{
    return m_selectedRoute >= 0 && ListPosition(m_selectedRoute) < m_log.book().size();
}

bool RouteListDialog::buildList()
{
    m_builtPortrait = isPortrait();
    placeList();
    return m_sort.sortByChoice();
}

void RouteListDialog::placeList()
{
    const bool portrait = isPortrait();
    m_view->setGeometry(portrait ? listPortrait : listWide);
    m_view->setColumnWidths(portrait);
}

bool RouteListDialog::sortKeepingSelection(int column, std::uint32_t order)
{
    // Nodes move, never copy: the chosen route is found again by its address.
    const BookRoute *chosen =
        hasSelectedRoute() ? &m_log.book().at(ListPosition(m_selectedRoute)) : nullptr;
    if (!m_actions.sort(column, order))
        return false;
    if (chosen) {
        for (ListPosition i = 0; i < m_log.book().size(); ++i) {
            if (&m_log.book().at(i) == chosen)
                m_selectedRoute = int(i);
        }
    }
    return true;
}

void RouteListDialog::columnTapped(int column)
{
    services().inputPanel().hide();
    const bool selectedShown = m_view->selectedRow() >= 0;
    if (m_sort.tapped(column, !m_log.book().isEmpty()) && selectedShown && hasSelectedRoute())
        m_view->selectRow(m_selectedRoute);
}

void RouteListDialog::relayout()
{
    DeviceDialog::relayout();
    // The list is made again only for the other layout; the constructor made the first one.
    if (!m_built || isPortrait() == m_builtPortrait)
        return;
    const bool selectedShown = m_view->selectedRow() >= 0;
    if (!buildList()) {
        done(ListFailedCode);
        return;
    }
    if (selectedShown && hasSelectedRoute())
        m_view->selectRow(m_selectedRoute);
}

} // namespace tripvane
