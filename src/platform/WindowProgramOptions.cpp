#include "WindowProgramOptions.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace tripvane {

namespace {

// QGuiApplication's and QApplication's own options, and the X11 ones, by whether a value
// follows.
constexpr const char *qtOptionsWithValue[] = {"platform",
                                              "platformpluginpath",
                                              "platformtheme",
                                              "plugin",
                                              "qwindowgeometry",
                                              "geometry",
                                              "qwindowtitle",
                                              "title",
                                              "qwindowicon",
                                              "icon",
                                              "session",
                                              "style",
                                              "stylesheet",
                                              "display",
                                              "name",
                                              "visual",
                                              "qmljsdebugger",
                                              "fn",
                                              "font",
                                              "bg",
                                              "fg",
                                              "btn"};
constexpr const char *qtFlags[] = {"reverse", "widgetcount", "testability",
                                   "nograb",  "dograb",      "sync"};

bool isOneOf(const std::string &name, const char *const *names, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (names[i] && name == names[i])
            return true;
    }
    return false;
}

void printUsage(std::FILE *to, const WindowProgramUsage &usage)
{
    std::fprintf(to,
                 "Usage: %s [OPTIONS]\n%s\n\nOptions:\n"
                 // Room for the longest option of a program's own, --register-manager.
                 "  -h, --help          Show this help and end.\n"
                 "  --version           Show the version and end.\n%s"
                 "Qt's own options (-platform, -style, -reverse ...) are taken as well.\n",
                 usage.name, usage.summary, usage.ownOptions);
}

} // namespace

std::optional<int> answerCommandLine(int argc, char *argv[], const WindowProgramUsage &usage)
{
    std::size_t ownCount = 0;
    while (usage.ownOptionNames && usage.ownOptionNames[ownCount])
        ++ownCount;
    for (int i = 1; i < argc; ++i) {
        const char *argument = argv[i];
        if (argument[0] != '-' || argument[1] == '\0')
            continue;
        std::string name = argument + (argument[1] == '-' ? 2 : 1);
        const std::size_t equals = name.find('=');
        const bool hasValue = equals != std::string::npos;
        name = name.substr(0, equals);
        if (name == "help" || name == "h" || name == "?") {
            printUsage(stdout, usage);
            return 0;
        }
        if (name == "version" || name == "v") {
            std::printf("%s %s\n", usage.name, TRIPVANE_VERSION);
            return 0;
        }
        if (isOneOf(name, qtOptionsWithValue, std::size(qtOptionsWithValue))) {
            i += hasValue ? 0 : 1;
            continue;
        }
        if (isOneOf(name, qtFlags, std::size(qtFlags)) ||
            isOneOf(name, usage.ownOptionNames, ownCount))
            continue;
        std::fprintf(stderr, "%s: unknown option '%s'\n", usage.name, argument);
        printUsage(stderr, usage);
        return 2;
    }
    return std::nullopt;
}

} // namespace tripvane
