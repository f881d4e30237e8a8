#pragma once

#include <QLocale>
#include <QStringList>

class QApplication;
class QTextStream;
class QTranslator;

namespace explore {

// The desktop entry the window belongs to (its id without ".desktop").
inline constexpr char kDesktopEntry[] = "nl.warmtegloedvracht.Verkenning";

// Reads the command line before there is a window, so that `--version` and `--help` work
// without a display: returns the exit code when the program is done (0 after the version
// or the help, 2 for an option it does not know or a second case), or -1 to open the
// window, with the case to open (from the command line or the desktop's "%f") in
// `caseFile`, empty when none was named.
int HandleCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err,
                      QString *caseFile = nullptr);

// Loads Qt's own texts (file and print dialogs, standard buttons) for `locale` into
// `translator`; false when they are not installed for it.
bool LoadQtTexts(QTranslator &translator, const QLocale &locale);

// The program's name (under which its settings and autosaves lie), version, desktop entry,
// icon and Qt's texts in the user's language.
void SetUpApplication(QApplication &application, QTranslator &qtTexts);

} // namespace explore
