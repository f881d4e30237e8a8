// Exec lines of application registrations as the help starts them: quoting and escapes, the
// field codes for the document or address, and the lines that start nothing.

#include "desktop_exec.h"

#include <QTest>

class TestDesktopExec : public QObject
{
    Q_OBJECT

private slots:
    void expand_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("argv"); // empty: refused
        const QString pdf = "Hulpschermen.pdf";
        const QString site = "https://get.adobe.com/reader/";
        QTest::newRow("program and %f") << "evince %f" << pdf << QStringList {"evince", pdf};
        QTest::newRow("quoted path with a blank")
            << "\"/opt/Pdf Viewer/viewer.sh\" %f" << pdf << QStringList {"/opt/Pdf Viewer/viewer.sh", pdf};
        QTest::newRow("escapes inside quotes") << "sh \"a \\\"b\\\" \\`c\\` \\$d \\\\e\" %f" << pdf
                                               << QStringList {"sh", "a \"b\" `c` $d \\e", pdf};
        QTest::newRow("%U gets the address") << "browser %U" << site << QStringList {"browser", site};
        QTest::newRow("%% is a percent sign") << "tool 100%% %f" << pdf << QStringList {"tool", "100%", pdf};
        QTest::newRow("%i %c %k dropped") << "viewer %i %c %k %f" << pdf << QStringList {"viewer", pdf};
        QTest::newRow("no file code: target last")
            << "viewer --fullscreen" << pdf << QStringList {"viewer", "--fullscreen", pdf};
        QTest::newRow("target not expanded again") << "viewer %f"
                                                   << "%f%%.pdf" << QStringList {"viewer", "%f%%.pdf"};
        QTest::newRow("empty line") << "" << pdf << QStringList();
        QTest::newRow("unclosed quote") << "\"/opt/Pdf Viewer/viewer.sh %f" << pdf << QStringList();
        QTest::newRow("quote inside a word") << "view\"er\" %f" << pdf << QStringList();
        QTest::newRow("backslash outside quotes") << "Pdf\\ Viewer %f" << pdf << QStringList();
        QTest::newRow("unknown field code") << "viewer %x" << pdf << QStringList();
    }
    void expand()
    {
        QFETCH(QString, line);
        QFETCH(QString, target);
        QFETCH(QStringList, argv);
        QStringList expanded;
        QString error;
        const bool ok = platform::DesktopExec::expand(line, target, expanded, &error);
        QCOMPARE(ok, !argv.isEmpty());
        QCOMPARE(error.isEmpty(), ok);
        if (ok)
            QCOMPARE(expanded, argv);
    }

    // The key file's escapes come first: four backslashes in the file are one in the argument.
    void keyFileValue_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QStringList>("argv");
        QTest::newRow("\\s is a blank")
            << "\"/opt/Pdf\\sViewer/v\" %f" << QStringList {"/opt/Pdf Viewer/v", "x"};
        QTest::newRow("four backslashes") << "sh \"a\\\\\\\\b\" %f" << QStringList {"sh", "a\\b", "x"};
    }
    void keyFileValue()
    {
        QFETCH(QString, raw);
        QFETCH(QStringList, argv);
        QStringList expanded;
        QVERIFY(platform::DesktopExec::expand(platform::DesktopExec::unescapeValue(raw), "x", expanded));
        QCOMPARE(expanded, argv);
    }
};

QTEST_GUILESS_MAIN(TestDesktopExec)
#include "tst_desktop_exec.moc"
