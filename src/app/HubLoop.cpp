#include "HubLoop.h"

#include <algorithm>

namespace tripvane {

bool runHubLoop(const HubLoop &loop)
{
    bool changed = false;
    for (;;) {
        const int code = loop.showHub();
        if (const auto sub = loop.subDialogs.find(code); sub != loop.subDialogs.end())
            sub->second();
        if (std::ranges::find(loop.changeCodes, code) != loop.changeCodes.end())
            changed = true;
        if (std::ranges::find(loop.leaveCodes, code) != loop.leaveCodes.end())
            return changed;
    }
}

} // namespace tripvane
