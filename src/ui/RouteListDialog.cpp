#include "RouteListDialog.h"

#include "AppSettings.h"
#include "Images.h"
#include "ListView.h"
#include "LogLists.h"
#include "Services.h"
#include "Sorting.h"
#include "StringTable.h"
#include "TripLog.h"

#include <optional>

namespace tripvane {

namespace {

const QRect listPortrait(6, 25, 226, 124);
const QRect listWide(6, 25, 304, 124);

} // namespace

RouteListDialog::RouteListDialog(Services &services, std::span<const ControlSpec> controls,
                                 AppSettings &settings, TripLog &log, int &selectedRoute)
    : DeviceDialog(services, loadString(IDS_BOOK_HEADING), controls, true)
    , m_settings(settings)
    , m_log(log)
    , m_selectedRoute(selectedRoute)
    , m_model(makeRouteListModel(log, settings, this))
    , m_view(new ListView(ListControl, *m_model, this))
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
    m_sortColumn = m_settings.SortMileageBook;
    m_sortOrder = m_settings.SortOrderMileageBook;
    placeList();
    const int column = m_sortColumn == 1 && m_sortOrder != SortUnset ? 1 : 0;
    const std::uint32_t order = m_sortOrder == SortUnset ? SortAscending : m_sortOrder;
    // A stored sort column that no header has leaves the book in its stored order.
    const bool sorted = m_sortColumn <= 1 || m_sortOrder == SortUnset;
    for (int header = 0; header < 2; ++header)
        m_model->setHeaderImage(header, sorted && header == column ? int(order) : ImageNoOrder);
    return !sorted || sortKeepingSelection(column, order);
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
    if (!m_log.sortBook(column, order))
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
    if (column > 1)
        return;
    services().inputPanel().hide();
    const int image = m_model->headerImage(column);
    std::uint32_t order = m_sortOrder == SortDescending ? SortDescending : SortAscending;
    if (image == ImageAscending)
        order = SortDescending;
    else if (image == ImageDescending)
        order = SortAscending;
    m_sortColumn = std::uint32_t(column);
    m_sortOrder = order;
    m_model->setHeaderImage(column, int(order));
    m_model->setHeaderImage(1 - column, ImageNoOrder);
    if (m_log.book().isEmpty())
        return;
    const bool selectedShown = m_view->selectedRow() >= 0;
    std::optional<WaitCursorGuard> busy;
    if (column == 0)
        busy.emplace(services().waitCursor());
    if (sortKeepingSelection(column, order) && selectedShown && hasSelectedRoute())
        m_view->selectRow(m_selectedRoute);
}

void RouteListDialog::keepSortState()
{
    m_settings.SortMileageBook = m_sortColumn;
    m_settings.SortOrderMileageBook = m_sortOrder;
}

void RouteListDialog::endWith(int code)
{
    keepSortState();
    done(code);
}

void RouteListDialog::relayout()
{
    DeviceDialog::relayout();
    if (!m_built)
        return; // still being made: the constructor builds the list
    const bool selectedShown = m_view->selectedRow() >= 0;
    keepSortState();
    if (!buildList()) {
        done(ListFailedCode);
        return;
    }
    if (selectedShown && hasSelectedRoute())
        m_view->selectRow(m_selectedRoute);
}

} // namespace tripvane
