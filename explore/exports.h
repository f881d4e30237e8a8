#pragma once

#include "view_painter.h"

#include <QByteArray>
#include <QSize>
#include <QString>

namespace explore {

// Writes `data` to `path` so that the file is either the old one or the whole new one:
// a temporary file in the same folder, checked writes, fsync, rename. Only a regular
// file is ever replaced. On failure returns a Dutch explanation and leaves nothing behind.
QString WriteFileAtomically(const QString &path, const QByteArray &data);

QByteArray RenderPng(ViewKind kind, const Exploration &exploration, const QSize &size, const QLocale &locale);
QByteArray RenderSvg(ViewKind kind, const Exploration &exploration, const QSize &size, const QLocale &locale);

QString ViewTitle(ViewKind kind);

} // namespace explore
