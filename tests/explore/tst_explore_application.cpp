// The program around the window: its command line (without a display), its identity on the
// desktop, and Qt's own dialogs in Dutch.

#include "application_setup.h"
#include "exploration_report.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTextStream>
#include <QTranslator>

using namespace explore;

class TestExploreApplication : public QObject
{
    Q_OBJECT

private slots:
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("caseFile");
        QTest::newRow("unknown option") << QStringList {"--grens"} << 2 << ""
                                        << "warmtegloed-verkenning: onbekende optie „grens”\n"
                                        << "";
        QTest::newRow("a case") << QStringList {"map/zaak 1.warmtegloed"} << -1 << ""
                                << ""
                                << "map/zaak 1.warmtegloed";
        QTest::newRow("two cases")
            << QStringList {"a.warmtegloed", "b.warmtegloed"} << 2 << ""
            << "warmtegloed-verkenning: het venster opent één zaak; „b.warmtegloed” is er een "
               "te veel\n"
            << "";
    }
    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, caseFile);
        QString written;
        QString complained;
        QString named;
        QTextStream outStream(&written);
        QTextStream errStream(&complained);
        QCOMPARE(HandleCommandLine(QStringList {QStringLiteral("warmtegloed-verkenning")} + arguments,
                                   outStream, errStream, &named),
                 exitCode);
        outStream.flush();
        errStream.flush();
        QCOMPARE(written, out);
        QCOMPARE(complained, err);
        QCOMPARE(named, caseFile);
    }

    // The program itself answers --version where there is no display at all.
    void versionNeedsNoDisplay()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(VERKENNING_EXE), {QStringLiteral("--version")});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QCOMPARE(program.readAllStandardOutput(),
                 QByteArray("warmtegloed-verkenning ") + ProgramVersion().toUtf8() + '\n');
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }

    void belongsToItsDesktopEntry()
    {
        QTranslator texts;
        SetUpApplication(*qApp, texts);
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("nl.warmtegloedvracht.Verkenning"));
        QVERIFY(!QApplication::windowIcon().pixmap(32).isNull());
        QCOMPARE(QApplication::applicationVersion(), ProgramVersion());
        QCoreApplication::removeTranslator(&texts);
    }

    // Under nl_NL the file dialog says "Opslaan" and "Annuleren".
    void qtDialogsSpeakDutch()
    {
        QTranslator texts;
        QVERIFY(LoadQtTexts(texts, QLocale(QLocale::Dutch, QLocale::Netherlands)));
        QCoreApplication::installTranslator(&texts);
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        const auto *buttons = dialog.findChild<QDialogButtonBox *>();
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Annuleren"));
        QStringList captions;
        for (const QAbstractButton *button : buttons->buttons())
            captions << button->text().remove(QLatin1Char('&'));
        QVERIFY2(captions.contains(QStringLiteral("Opslaan")), qPrintable(captions.join(", ")));
        QCoreApplication::removeTranslator(&texts);
    }
};

QTEST_MAIN(TestExploreApplication)
#include "tst_explore_application.moc"
