// libFuzzer target: the command line of a window program, as a shell or a desktop file hands it
// over. It answers 0 (help, version) or 2 (an option nobody knows) or lets the program start;
// it leaves the words as they were, starts a program given no option at all, and answers a
// first word of --help with the help.
#include "WindowProgramOptions.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

using namespace tripvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // Words are separated by NUL bytes, as the kernel hands them over.
    std::vector<std::string> words{"mileagelog"};
    std::string word;
    for (std::size_t i = 0; i < size && words.size() < 64; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += char(data[i]);
        }
    }
    if (!word.empty())
        words.push_back(word);
    const std::vector<std::string> given = words;
    std::vector<char *> argv;
    for (std::string &each : words)
        argv.push_back(each.data());
    argv.push_back(nullptr);
    static const char *const own[] = {"register-manager", nullptr};
    const std::optional<int> answer = answerCommandLine(
        int(words.size()), argv.data(),
        {"mileagelog", "A fuzzed window program.", "  --register-manager\n", own});
    bool anyOption = false;
    for (std::size_t i = 1; i < given.size(); ++i)
        anyOption = anyOption || (given[i].size() > 1 && given[i][0] == '-');
    if (words != given || (answer && *answer != 0 && *answer != 2) || (!anyOption && answer) ||
        (given.size() > 1 && given[1] == "--help" && answer != 0))
        std::abort();
    return 0;
}
