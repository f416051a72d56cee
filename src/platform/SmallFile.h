#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tripvane {

// Reads a plain file of at most limit bytes, never blocking: a pipe, a device or a folder is
// refused before anything is read, and a larger file is refused rather than cut. Nothing, with
// the reason, otherwise.
std::optional<QByteArray> readSmallFile(const QString &path, qint64 limit, QString *problem);

// Text files from the desktop may come from an editor elsewhere: a UTF-8 byte-order mark is
// dropped, and lines end in LF or CR LF.
QList<QByteArray> textLines(QByteArray bytes);

} // namespace tripvane
