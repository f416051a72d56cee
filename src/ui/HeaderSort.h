#pragma once

#include <cstdint>
#include <functional>

namespace tripvane {

class ListModel;
class WaitCursor;

// A list's sort as its two settings hold it: the column and the order the user chose last.
struct SortChoice
{
    std::uint32_t column = 0;
    std::uint32_t order = 0;
};

// The sort of a list by one of its first two columns, in the order the user chose last: the
// arrows in the headers and a tap on a header that sorts by it (a second tap reverses). The
// list itself is sorted by the given function, which reorders what the rows show; the choice
// goes back to the settings through the dialog's owner.
class HeaderSort
{
public:
    using Sort = std::function<bool(int column, std::uint32_t order)>;

    HeaderSort(ListModel &model, WaitCursor &waitCursor, SortChoice choice, Sort sort);

    // Shows the choice in the headers and sorts by it; false when the sort failed.
    bool sortByChoice();
    // A tap on a header; the list is sorted when it has rows. False only when a sort failed.
    bool tapped(int column, bool hasRows);
    SortChoice choice() const { return m_choice; }

private:
    ListModel &m_model;
    WaitCursor &m_waitCursor;
    Sort m_sort;
    SortChoice m_choice;
};

} // namespace tripvane
