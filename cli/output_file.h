#pragma once

#include <QByteArray>
#include <QString>

namespace cli {

// Writes `bytes` to `path` so that a reader sees the old file or the whole new one:
// a temporary file in the same folder, checked writes, fsync, then rename. Refuses to
// replace anything that is not a regular file (a folder, a link, a device). Returns false
// with a Dutch reason; no temporary file is left behind.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString &error);

// Whether `path` may be written: it does not exist or is a regular file. Lets a program
// refuse before it spends time on the contents.
bool mayReplace(const QString &path, QString &error);

} // namespace cli
