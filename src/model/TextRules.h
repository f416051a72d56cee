#pragma once

#include <QString>

namespace tripvane {

// Removes blanks (character 32 only, not tabs or other spaces) at both ends. An absent text
// stays absent; a text of blanks becomes empty.
QString stripBlanks(const QString &text);

// Starting places and destinations of trips: blanks stripped, the first character in upper
// case and the rest in lower case ("  aMSTERDAM cs " becomes "Amsterdam cs"). Any characters
// are accepted.
QString normalisePlaceName(const QString &text);

// Category names and route places may hold only letters, decimal digits and blanks.
bool isNameText(const QString &text);

} // namespace tripvane
