#include "StringTable.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace tripvane {

namespace {

struct Entry
{
    int id;
    const char16_t *text;
};

constexpr Entry table[] = {
#define TRIPVANE_STRING(id, text) {id, text},
#include "strings.inc"
#undef TRIPVANE_STRING
};

static_assert(std::ranges::is_sorted(table, {}, &Entry::id), "string table must be sorted by id");

} // namespace

int amountMessage(int amountCheck)
{
    switch (amountCheck) {
    case 562:
        return IDS_AMOUNT_TOO_LARGE;
    case 563:
        return IDS_AMOUNT_ZERO;
    default:
        return IDS_AMOUNT_INVALID;
    }
}

QString loadString(int id)
{
    const auto found = std::ranges::lower_bound(table, id, {}, &Entry::id);
    if (found == std::end(table) || found->id != id)
        return {};
    return QString::fromUtf16(found->text);
}

} // namespace tripvane
