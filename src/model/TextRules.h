#pragma once

#include <QString>

namespace tripvane {

// How many characters each text of a trip, a category, a route and the status may hold: the one
// place the dialogs, the import and the exports take them from.
namespace FieldLimit {
inline constexpr int CategoryName = 20;
inline constexpr int Place = 32; // a trip's or a route's start and destination
inline constexpr int Memo = 20;  // also the status's notes
inline constexpr int AmountText = 13;
} // namespace FieldLimit

// Removes blanks (character 32 only, not tabs or other spaces) at both ends. An absent text
// stays absent; a text of blanks becomes empty.
QString stripBlanks(const QString &text);

// Starting places and destinations of trips: blanks stripped, the first character in upper
// case and the rest in lower case ("  aMSTERDAM cs " becomes "Amsterdam cs"). Any characters
// are accepted.
QString normalisePlaceName(const QString &text);

// Category names and route places may hold only letters, decimal digits and blanks.
bool isNameText(const QString &text);

// A text as it is stored, or what keeps it from being stored.
enum class TextProblem { None, Empty, TooLong, NotNameText };
struct CheckedText
{
    QString text;
    TextProblem problem = TextProblem::None;
};
// A category name or a route place under the name rule: blanks stripped, not empty, at most
// limit characters of letters, digits and blanks, stored with the first letter in upper case
// and the rest in lower case, so that names the same but for case are the same name.
CheckedText checkName(const QString &text, int limit);
// A trip's place (normalised, any characters) or memo (blanks stripped): empty is fine.
CheckedText checkTripPlace(const QString &text);
CheckedText checkMemo(const QString &text);

} // namespace tripvane
