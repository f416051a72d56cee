#pragma once

#include <optional>

namespace tripvane {

// What a window program says of itself before it opens a window, and so without a display.
struct WindowProgramUsage
{
    const char *name;
    const char *summary;
    const char *ownOptions = "";                 // lines for its own options, each ending in '\n'
    const char *const *ownOptionNames = nullptr; // without dashes, ending in nullptr
};

// --help and --version answer and end the program (0); an option that neither Qt nor the
// program knows prints the usage and ends it (2). Nothing: start as usual, Qt's own options
// (-platform, -style ...) left for QApplication.
std::optional<int> answerCommandLine(int argc, char *argv[], const WindowProgramUsage &usage);

} // namespace tripvane
