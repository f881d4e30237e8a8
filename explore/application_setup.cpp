#include "application_setup.h"

#include "exploration_report.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLibraryInfo>
#include <QTextStream>
#include <QTranslator>

namespace explore {

int HandleCommandLine(const QStringList &arguments, QTextStream &out, QTextStream &err, QString *caseFile)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Opent het venster „Warmtegloed – Verkenning”: de warmtestraling van een brand in een "
                       "houtopslag verkennen."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Toont deze hulp en stopt."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Toont de versie en stopt."));
    parser.addOption(help);
    parser.addOption(version);
    if (!parser.parse(arguments)) {
        if (!parser.unknownOptionNames().isEmpty())
            err << "warmtegloed-verkenning: onbekende optie „" << parser.unknownOptionNames().front()
                << "”\n";
        else
            err << "warmtegloed-verkenning: " << parser.errorText() << '\n';
        return 2;
    }
    if (parser.isSet(version)) {
        out << "warmtegloed-verkenning " << ProgramVersion() << '\n';
        return 0;
    }
    if (parser.isSet(help)) {
        out << "Gebruik: warmtegloed-verkenning [opties] [zaak.warmtegloed]\n\n"
            << parser.applicationDescription() << "\n\n"
            << "Opties:\n"
            << "  -h, --help     " << help.description() << '\n'
            << "  -v, --version  " << version.description() << '\n'
            << "\nArgument:\n"
            << "  zaak.warmtegloed  Opent deze zaak; een zaak die niet kan worden gelezen, wordt gemeld.\n";
        return 0;
    }
    const QStringList cases = parser.positionalArguments();
    if (cases.size() > 1) {
        err << "warmtegloed-verkenning: het venster opent één zaak; „" << cases[1] << "” is er een te veel\n";
        return 2;
    }
    if (caseFile)
        *caseFile = cases.value(0);
    return -1;
}

bool LoadQtTexts(QTranslator &translator, const QLocale &locale)
{
    return translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void SetUpApplication(QApplication &application, QTranslator &qtTexts)
{
    QApplication::setOrganizationName(QStringLiteral("Warmtegloedvracht"));
    QApplication::setApplicationName(QStringLiteral("warmtegloed-verkenning"));
    QApplication::setApplicationDisplayName(QStringLiteral("Warmtegloed – Verkenning"));
    QApplication::setApplicationVersion(ProgramVersion());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopEntry));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.svg")));
    if (LoadQtTexts(qtTexts, QLocale()))
        application.installTranslator(&qtTexts);
}

} // namespace explore
