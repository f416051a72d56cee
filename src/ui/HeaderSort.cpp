#include "HeaderSort.h"

#include "Images.h"
#include "ListView.h"
#include "Services.h"
#include "Sorting.h"

#include <optional>

namespace tripvane {

HeaderSort::HeaderSort(ListModel &model, WaitCursor &waitCursor, SortChoice choice, Sort sort)
    : m_model(model)
    , m_waitCursor(waitCursor)
    , m_sort(std::move(sort))
    , m_choice(choice)
{}

bool HeaderSort::sortByChoice()
{
    const StoredOrder stored = storedOrder(m_choice.column, m_choice.order);
    for (int header = 0; header < 2; ++header)
        m_model.setHeaderImage(header, stored.sorted && header == stored.column ? int(stored.order)
                                                                                : ImageNoOrder);
    return !stored.sorted || m_sort(stored.column, stored.order);
}

bool HeaderSort::tapped(int column, bool hasRows)
{
    if (column < 0 || column > 1)
        return true;
    // A header without an arrow keeps the order in use; an arrow turns round.
    const int image = m_model.headerImage(column);
    std::uint32_t order = m_choice.order == SortDescending ? SortDescending : SortAscending;
    if (image == ImageAscending)
        order = SortDescending;
    else if (image == ImageDescending)
        order = SortAscending;
    m_choice = {std::uint32_t(column), order};
    m_model.setHeaderImage(column, int(order));
    m_model.setHeaderImage(1 - column, ImageNoOrder);
    if (!hasRows)
        return true;
    std::optional<WaitCursorGuard> busy;
    if (column == 0)
        busy.emplace(m_waitCursor);
    return m_sort(column, order);
}

} // namespace tripvane
