#include "ProgramFolders.h"

#include <QDir>
#include <QFileInfo>

namespace tripvane {

QString fellowProgram(const QString &ownFolder, const QString &name)
{
    const QDir own(ownFolder);
    for (const char *relative : {".", TRIPVANE_HELPERS_FROM_BIN, TRIPVANE_BIN_FROM_HELPERS}) {
        const QFileInfo candidate(own.filePath(QString::fromLatin1(relative) + u'/' + name));
        if (candidate.isFile() && candidate.isExecutable())
            return QDir::cleanPath(candidate.absoluteFilePath());
    }
    return own.filePath(name);
}

} // namespace tripvane
