#pragma once

#include <QString>

namespace tripvane {

// Removes blanks (character 32 only, not tabs or other spaces) at both ends. An absent text
// stays absent; a text of blanks becomes empty.
QString stripBlanks(const QString &text);

} // namespace tripvane
