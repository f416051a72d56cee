#pragma once

#include <QString>

namespace tripvane::setup {

// The string table of setup; texts word for word.
enum SetupString : int {
    SetupTitle = 1,
    SetupClassName = 2,
    ManagerKey = 3,
    NoActiveSync = 6,
    NotPocketPc = 7,
    NoVersionInfo = 8,
    UnknownProcessor = 9,
    CannotStart = 10,
    NotConnected = 11,
};

QString setupString(int id);

} // namespace tripvane::setup
