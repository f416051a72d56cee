#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace tripvane {

// Property value types of the object store, kept in the low 16 bits of a property identifier.
inline constexpr std::uint16_t CEVT_UI4 = 19;
inline constexpr std::uint16_t CEVT_LPWSTR = 31;

inline constexpr std::uint16_t propertyType(std::uint32_t propertyId)
{
    return static_cast<std::uint16_t>(propertyId & 0xFFFFu);
}

inline constexpr std::uint32_t makePropertyId(std::uint16_t number, std::uint16_t type)
{
    return (std::uint32_t(number) << 16) | type;
}

struct PropertyValue
{
    std::uint32_t id = 0;
    std::uint32_t number = 0; // CEVT_UI4
    QString text;             // CEVT_LPWSTR

    static PropertyValue ofNumber(std::uint32_t id, std::uint32_t value) { return {id, value, {}}; }
    static PropertyValue ofText(std::uint32_t id, const QString &value) { return {id, 0, value}; }
};

using PropertyValues = std::vector<PropertyValue>;

// A record's properties are stored as one JSON object keyed by the hexadecimal identifier,
// {"0x00000013":291457,"0x0005001F":"Job"}, so that any SQLite tool can read them with
// json_extract. Strings keep every UTF-16 code unit: unpaired surrogates travel as \u escapes.
QByteArray encodeProperties(const PropertyValues &values);

// Fills values from the stored text; false when the text is not a property object of ours.
// Members whose name is not an identifier are skipped.
bool decodeProperties(const char *text, int bytes, PropertyValues &values);

} // namespace tripvane
