#pragma once

#include <QChar>

namespace tripvane {

// The Windows-1252 code page, both ways: what the program's "ASCII" files hold.
// A character the code page cannot hold becomes '?'.
char windows1252Byte(char16_t unit);
QChar windows1252Char(char byte);

} // namespace tripvane
