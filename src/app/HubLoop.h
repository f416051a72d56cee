#pragma once

#include <functional>
#include <map>
#include <vector>

namespace tripvane {

// The loop of a dialog that manages a list: the hub shows; by its end code a sub-dialog may
// show; then the hub shows again, until it ends with a leave code.
struct HubLoop
{
    std::function<int()> showHub;
    std::map<int, std::function<void()>> subDialogs; // by the hub's end code
    std::vector<int> leaveCodes;
};

void runHubLoop(const HubLoop &loop);

} // namespace tripvane
