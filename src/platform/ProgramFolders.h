#pragma once

#include <QString>

namespace tripvane {

// Where a program of ours finds another: in a build all of them stand in one folder; installed,
// the ones a person starts are in bin/ and the helpers (ceappmgr, peghelp) in
// libexec/tripvane/. Each is looked for from the folder of the program that asks, so a tree
// moved elsewhere still works. A program found nowhere is named where it would be beside the
// one that asks, so that starting it fails as a missing program does.
QString fellowProgram(const QString &ownFolder, const QString &name);

} // namespace tripvane
