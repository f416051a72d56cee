#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace tripvane {

// Display texts of one amount: index 0 "1,000.87" style, index 1 "1.000,87" style.
using AmountTexts = std::array<QString, 2>;

enum AmountCheck : int {
    AMOUNT_OK = 560,
    AMOUNT_INVALID = 561,
    AMOUNT_TOO_LARGE = 562,
    AMOUNT_ZERO = 563,
};

inline constexpr std::int32_t MaxTypedAmount = 100000000; // 1,000,000.00
inline constexpr std::int32_t MaxComputedAmount = 2147483647;

// Rebuilds both texts of an amount in hundredths. The sign is not written: stored amounts are
// never negative, and a negative balance is shown by a prefix instead.
bool FormatAmount(AmountTexts &texts, std::int32_t amount);

// 1 selects the dot text; 0 and every other value the comma text.
const QString &AmountTextFor(const AmountTexts &texts, std::uint32_t distanceView);

// The caller strips blanks at both ends first.
AmountCheck CheckAmountText(const QString &text, std::uint32_t distanceView);

// Reads a typed amount without checking it. Text beyond the 32-bit range saturates at the
// largest amount, so an unchecked text can never wrap into a small or negative distance.
std::int32_t ReadAmountText(const QString &text, std::uint32_t distanceView);

template<typename Holder>
bool SetAmountFromText(Holder &holder, const QString &text, std::uint32_t distanceView)
{
    holder.distance = ReadAmountText(text, distanceView);
    return FormatAmount(holder.distanceText, holder.distance);
}

} // namespace tripvane
