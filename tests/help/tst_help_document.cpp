#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

namespace {

QString run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

// The help document the build renders, read back with poppler's tools as a reader
// would see it: a real several-page PDF with the chapters the window refers to.
class TestHelpDocument : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void hasSeveralA4Pages();
    void showsTheWindow();
    void containsChapter_data();
    void containsChapter();

private:
    QString m_pdf;
    QString m_text;
};

void TestHelpDocument::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::Dutch, QLocale::Netherlands));
    m_pdf = QStringLiteral(WARMTEGLOED_HELP_PDF);
    QVERIFY2(QFileInfo(m_pdf).fileName() == QLatin1String("Hulpschermen.pdf"), qPrintable(m_pdf));
    QVERIFY2(QFileInfo::exists(m_pdf), qPrintable(m_pdf));
    m_text = run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), m_pdf, QStringLiteral("-")});
    QVERIFY2(!m_text.isEmpty(), "pdftotext could not read the help document");
    // Words broken over lines or spread by justification should not fail a search.
    m_text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

void TestHelpDocument::hasSeveralA4Pages()
{
    const QString info = run(QStringLiteral("pdfinfo"), {m_pdf});
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    QVERIFY2(pages.hasMatch(), qPrintable(info));
    QVERIFY2(pages.captured(1).toInt() >= 5, qPrintable(pages.captured(0)));
    QVERIFY2(info.contains(QLatin1String("(A4)")), qPrintable(info));
    QVERIFY(info.contains(QLatin1String("Warmtegloedvracht - Hulpschermen")));
}

void TestHelpDocument::showsTheWindow()
{
#ifndef WARMTEGLOED_HELP_WITH_WINDOW
    QSKIP("the window is not part of this build, so the document has no picture of it");
#endif
    // The window picture, drawn at twice the screen size (the window is 710 pixels
    // wide), on the page of the chapter about the window; not a placeholder icon.
    const QStringList lines = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), m_pdf}).split('\n');
    const QRegularExpression row(QStringLiteral("^\\s*(\\d+)\\s+\\d+\\s+image\\s+(\\d+)\\s+(\\d+)"));
    QStringList pictures;
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch() && match.captured(2).toInt() >= 1400)
            pictures << match.captured(1);
    }
    QCOMPARE(pictures, QStringList{QStringLiteral("2")});
}

void TestHelpDocument::containsChapter_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("method") << "bepalingsmethode warmtegloedvracht";
    QTest::newRow("regulation") << "AmvB Bouw- en Houtbedrijven";
    QTest::newRow("window chapter") << "2. Het venster";
    QTest::newRow("inputs chapter") << "3. De invoer";
    QTest::newRow("width input") << "Breedte opslag";
    QTest::newRow("screen efficiency symbol") << "Efficiency van de afscherming K";
    QTest::newRow("option indoor") << "Binnenopslag";
    QTest::newRow("option compact") << "Compact gestapeld hout";
    QTest::newRow("option screen") << "Afscherming aanwezig";
    QTest::newRow("five points") << "6. De vijf beoordelingspunten";
    QTest::newRow("levels chapter") << "8. De resultaten en wat de niveaus betekenen";
    QTest::newRow("outdoor limit") << "15 kW/m² bedraagt gedurende 60 minuten";
    QTest::newRow("report chapter") << "9. Bereken, Print en het rapport";
    QTest::newRow("help chapter") << "10. Help en de toets F1";
    QTest::newRow("install question") << "Acrobat Reader installeren?";
    QTest::newRow("page numbers") << "Pagina 1 van";
}

void TestHelpDocument::containsChapter()
{
    QFETCH(QString, text);
    QVERIFY2(m_text.contains(text), qPrintable(text));
}

QTEST_GUILESS_MAIN(TestHelpDocument)
#include "tst_help_document.moc"
