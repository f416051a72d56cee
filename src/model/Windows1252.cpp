#include "Windows1252.h"

#include <algorithm>
#include <array>
#include <utility>

namespace tripvane {

namespace {

// The code points that Windows-1252 puts at 0x80..0x9F instead of Latin-1's control codes;
// the five bytes it leaves undefined keep their control codes, as Windows maps them.
constexpr std::array<std::pair<char16_t, char>, 27> windows1252High = {{
    {u'\u0152', '\x8C'}, {u'\u0153', '\x9C'}, {u'\u0160', '\x8A'}, {u'\u0161', '\x9A'},
    {u'\u0178', '\x9F'}, {u'\u017D', '\x8E'}, {u'\u017E', '\x9E'}, {u'\u0192', '\x83'},
    {u'\u02C6', '\x88'}, {u'\u02DC', '\x98'}, {u'\u2013', '\x96'}, {u'\u2014', '\x97'},
    {u'\u2018', '\x91'}, {u'\u2019', '\x92'}, {u'\u201A', '\x82'}, {u'\u201C', '\x93'},
    {u'\u201D', '\x94'}, {u'\u201E', '\x84'}, {u'\u2020', '\x86'}, {u'\u2021', '\x87'},
    {u'\u2022', '\x95'}, {u'\u2026', '\x85'}, {u'\u2030', '\x89'}, {u'\u2039', '\x8B'},
    {u'\u203A', '\x9B'}, {u'\u20AC', '\x80'}, {u'\u2122', '\x99'},
}};
static_assert(std::ranges::is_sorted(windows1252High, {}, &std::pair<char16_t, char>::first));

} // namespace

char windows1252Byte(char16_t unit)
{
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return char(unit);
    if (unit == 0x81 || unit == 0x8D || unit == 0x8F || unit == 0x90 || unit == 0x9D)
        return char(unit);
    const auto found =
        std::ranges::lower_bound(windows1252High, unit, {}, &std::pair<char16_t, char>::first);
    return found != windows1252High.end() && found->first == unit ? found->second : '?';
}

QChar windows1252Char(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    if (code < 0x80 || code >= 0xA0)
        return QChar(code);
    const auto high = std::ranges::find(windows1252High, byte, &std::pair<char16_t, char>::second);
    return high != windows1252High.end() ? QChar(high->first) : QChar(code);
}

} // namespace tripvane
