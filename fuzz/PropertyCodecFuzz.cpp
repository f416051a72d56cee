// libFuzzer target: stored property texts. Whatever decodes encodes to a text that decodes to
// the same values.
#include "PropertyCodec.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace tripvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // An exact-size copy: a read past the text shows under the address sanitizer.
    std::vector<char> text(data, data + size);
    PropertyValues values;
    if (!decodeProperties(text.data(), int(text.size()), values))
        return 0;
    const QByteArray encoded = encodeProperties(values);
    PropertyValues again;
    if (!decodeProperties(encoded.constData(), int(encoded.size()), again) ||
        again.size() != values.size())
        std::abort();
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (again[i].id != values[i].id || again[i].number != values[i].number ||
            again[i].text != values[i].text || again[i].text.isNull() != values[i].text.isNull())
            std::abort();
    }
    return 0;
}
