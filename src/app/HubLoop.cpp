#include "HubLoop.h"

#include <algorithm>

namespace tripvane {

void runHubLoop(const HubLoop &loop)
{
    for (;;) {
        const int code = loop.showHub();
        if (const auto sub = loop.subDialogs.find(code); sub != loop.subDialogs.end())
            sub->second();
        if (std::ranges::find(loop.leaveCodes, code) != loop.leaveCodes.end())
            return;
    }
}

} // namespace tripvane
