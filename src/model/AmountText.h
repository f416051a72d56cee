#pragma once

#include <QString>

#include <cstdint>

namespace tripvane {

enum AmountCheck : int {
    AMOUNT_OK = 560,
    AMOUNT_INVALID = 561,
    AMOUNT_TOO_LARGE = 562,
    AMOUNT_ZERO = 563,
};

inline constexpr std::int32_t MaxTypedAmount = 100000000; // 1,000,000.00
inline constexpr std::int32_t MaxComputedAmount = 2147483647;

// The display text of an amount in hundredths: view 1 writes "1.000,87", 0 and every other
// value "1,000.87". The sign is not written: stored amounts are never negative, and a negative
// balance is shown by a prefix instead. Texts are made when shown, not kept: a log of 100,000
// trips would otherwise hold 200,000 of them.
QString FormatAmount(std::int64_t amount, std::uint32_t distanceView);
// Hundredths (of a distance or of money) as scripts read them: 1234.56, no grouping.
QString plainAmount(std::int64_t hundredths);

// The caller strips blanks at both ends first.
AmountCheck CheckAmountText(const QString &text, std::uint32_t distanceView);

// Whether an amount from a file is written as the view writes amounts: each grouping symbol
// followed by three digits, at most one separator and two decimals. Typing lets more through
// ("1,,2" is 12.00), a file from elsewhere must not be read as something it does not say.
bool IsWrittenAmount(QStringView text, std::uint32_t distanceView);

// Reads a typed amount without checking it. Text beyond the 32-bit range saturates at the
// largest amount, so an unchecked text can never wrap into a small or negative distance.
std::int32_t ReadAmountText(const QString &text, std::uint32_t distanceView);

template<typename Holder>
void SetAmountFromText(Holder &holder, const QString &text, std::uint32_t distanceView)
{
    holder.setDistance(ReadAmountText(text, distanceView));
}

} // namespace tripvane
