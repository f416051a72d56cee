// libFuzzer target: typed amount texts. The first byte chooses the digit grouping, the rest is
// the text as UTF-8. Whatever is accepted reads back unchanged once formatted.
#include "AmountText.h"

#include <cstdint>
#include <cstdlib>

using namespace tripvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::uint32_t view = data[0] % 3; // 2 stands for any other value: comma grouping
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const AmountCheck check = CheckAmountText(text, view);
    const std::int32_t read = ReadAmountText(text, view);
    if (check != AMOUNT_OK)
        return 0;
    if (read <= 0 || read > MaxTypedAmount)
        std::abort(); // an accepted amount lies within what may be typed
    const QString formatted = FormatAmount(read, view);
    if (CheckAmountText(formatted, view) != AMOUNT_OK || ReadAmountText(formatted, view) != read)
        std::abort(); // the text the lists show reads back as the same amount
    return 0;
}
