#pragma once

#include <QString>

#include <sys/types.h>

class QFile;

namespace tripvane {

class DeviceRoot;

// Where a command's output goes, looked at before anything is written. A plain file (or a new
// one) is replaced once the output is complete; a FIFO or a character device is written into,
// never replaced; anything else, and every file of the device, is refused.
struct OutputTarget
{
    enum class Kind { File, Stream, Refused };
    Kind kind = Kind::Refused;
    QString path;    // every link on the way followed
    QString problem; // why it is refused
    bool replaces = false;
    uid_t owner = 0; // of the file it replaces
    gid_t group = 0;
    mode_t mode = 0;
};
OutputTarget resolveOutput(const QString &path, const DeviceRoot &device);

// Opens a stream target for writing; a FIFO that no program reads is refused at once instead
// of waiting for a reader.
bool openStream(const OutputTarget &target, QFile &file, QString *problem);

// A file about to be replaced is kept as NAME~ (an earlier NAME~ goes), so that the
// replacement can be undone; false when it cannot be kept. Nothing for a new file.
bool keepReplaced(const OutputTarget &target);

// The new file takes the owner and mode of the one it replaced (private to the user when it
// replaced none, as it was made).
bool keepOwnerAndMode(const OutputTarget &target);

} // namespace tripvane
