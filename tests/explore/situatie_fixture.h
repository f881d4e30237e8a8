#pragma once

// What the Situatie's tests share: the design yard (tests/support/design_site.h) and a
// tab that is waited on until its answers are final.

#include "design_site.h"
#include "situatie_tab.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTest>

namespace situatie_test {

using design_site::designStorage;
using design_site::yard;

inline explore::SituatieState yardState()
{
    explore::SituatieState state;
    state.hasSite = true;
    state.site = yard();
    return state;
}

// Saves a look at a widget where SITUATIE_SCREENSHOTS names a folder (for a person to
// view; no test depends on it).
inline void keepScreenshot(QWidget *widget, const QString &name)
{
    const QString folder = qEnvironmentVariable("SITUATIE_SCREENSHOTS");
    if (!folder.isEmpty())
        widget->grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// Keeps a copy of a file written, likewise.
inline void keepFile(const QString &path)
{
    const QString folder = qEnvironmentVariable("SITUATIE_SCREENSHOTS");
    if (!folder.isEmpty()) {
        const QString copy = QDir(folder).filePath(QFileInfo(path).fileName());
        QFile::remove(copy);
        QFile::copy(path, copy);
    }
}

} // namespace situatie_test
