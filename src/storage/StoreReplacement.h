#pragma once

#include <QString>

#include <optional>

namespace tripvane {

// Puts a complete new store file (in the same folder) in the place of the store. What had the
// place is kept byte for byte, with its journals, under the first free name of the kept copies
// (objectstore.db.before-restore, then .before-restore-2 ...): no copy is ever overwritten, and
// putting a kept copy back keeps the store it replaces in turn. Where the file system can link
// a file, the store is never missing on the way. The name the old store was kept as (empty
// when there was none), or nothing when the new file could not be put in place.
std::optional<QString> replaceStoreKeepingAside(const QString &storePath, const QString &newFile);

} // namespace tripvane
