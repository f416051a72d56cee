#pragma once

#include <cstdint>
#include <functional>

namespace tripvane {

class ListModel;
class WaitCursor;

// The sort of a list by one of its first two columns, in the order the user chose last: the
// arrows in the headers, a tap on a header that sorts by it (a second tap reverses), and the
// state taken from and given back to its two settings. The list itself is sorted by the given
// function, which reorders what the rows show.
class HeaderSort
{
public:
    using Sort = std::function<bool(int column, std::uint32_t order)>;

    HeaderSort(ListModel &model, WaitCursor &waitCursor, std::uint32_t &columnSetting,
               std::uint32_t &orderSetting, Sort sort);

    // Takes the state from the settings, shows it in the headers and sorts; false when the
    // sort failed.
    bool sortFromSettings();
    // A tap on a header; the list is sorted when it has rows. False only when a sort failed.
    bool tapped(int column, bool hasRows);
    void keepInSettings() const;

private:
    ListModel &m_model;
    WaitCursor &m_waitCursor;
    std::uint32_t &m_columnSetting;
    std::uint32_t &m_orderSetting;
    Sort m_sort;
    std::uint32_t m_column = 0;
    std::uint32_t m_order = 0;
};

} // namespace tripvane
