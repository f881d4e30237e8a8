// The help document the build renders, read back with poppler's tools as a reader
// sees it: an outline of the chapters, a contents list whose entries link to them, and each
// paragraph once in the text a search goes through; the same bytes from two renders, in the
// fonts the package brings.

#include "program_output.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

QString withoutSpace(QString text)
{
    return text.remove(
        QRegularExpression(QStringLiteral("\\s+"), QRegularExpression::UseUnicodePropertiesOption));
}

// "7. Hoe er gerekend wordt": the numbered chapters of the source, in order.
QStringList sourceChapters(const QTextDocument &source)
{
    QStringList chapters;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() == 2 && block.text().contains(QRegularExpression("^\\d+\\. ")))
            chapters << block.text();
    }
    return chapters;
}

} // namespace

class TestHelpDocument : public QObject
{
    Q_OBJECT

    QTextDocument m_source;
    QStringList m_pages; // the text of each page, as pdftotext lays it out

    // The page, from 1, where a line holds just this heading; past the last page if none does.
    qsizetype pageOf(const QString &heading) const
    {
        const QRegularExpression line("(^|\\n)\\s*" + QRegularExpression::escape(heading) + "\\s*\\n");
        qsizetype page = 0;
        while (page < m_pages.size() && !m_pages[page].contains(line))
            ++page;
        return page + 1;
    }

private slots:
    void initTestCase()
    {
        QFile html(QStringLiteral(HELP_HTML));
        QVERIFY2(html.open(QIODevice::ReadOnly), HELP_HTML);
        m_source.setHtml(QString::fromUtf8(html.readAll()));
        const QString info = ProgramOutput(QStringLiteral(PDFINFO), {QStringLiteral(HELP_PDF)});
        const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
        QVERIFY2(pages > 0, "no help document, or no poppler-utils");
        QVERIFY2(info.contains("(A4)"), qPrintable(info));
        for (int page = 1; page <= pages; ++page) {
            const QString number = QString::number(page);
            m_pages << ProgramOutput(QStringLiteral(PDFTOTEXT),
                                     {"-layout", "-f", number, "-l", number, HELP_PDF, "-"});
        }
    }

    // Each bookmark names a chapter and opens the page its heading stands on; so does each
    // entry of the contents list on the first page, a link by the chapter's number.
    void outlineAndContents()
    {
        QStringList chapters;
        QStringList numbers;
        const QStringList titles = sourceChapters(m_source);
        for (qsizetype i = 0; i < titles.size(); ++i) {
            chapters << titles[i] + " @ " + QString::number(pageOf(titles[i]));
            numbers << QString::number(i + 1) + " @ " + QString::number(pageOf(titles[i]));
        }
        QCOMPARE(chapters.size(), 14);
        const QString xml =
            ProgramOutput(QStringLiteral(PDFTOHTML), {"-xml", "-stdout", "-i", "-q", HELP_PDF});
        static const QRegularExpression item(QStringLiteral("<item page=\"(\\d+)\">([^<]*)</item>"));
        QStringList bookmarks;
        for (auto it = item.globalMatch(xml); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            bookmarks << match.captured(2) + " @ " + match.captured(1);
        }
        QCOMPARE(bookmarks, chapters);
        const QString firstPage = xml.section("</page>", 0, 0);
        static const QRegularExpression link(QStringLiteral("<a href=\"[^\"#]*#(\\d+)\">(\\d+)\\. "));
        QStringList links;
        for (auto it = link.globalMatch(firstPage); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            links << match.captured(2) + " @ " + match.captured(1);
        }
        QCOMPARE(links, numbers);
    }

    // Rendered again with a time to stamp, the document comes out the same to the byte and
    // says it was made then: a package built twice is the same package. (Three renders, each
    // with Qt's own random hash seed, which once decided the order of the fonts in the file.)
    void reproducible()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SOURCE_DATE_EPOCH"), QStringLiteral("1796529600"));
        environment.remove(QStringLiteral("QT_HASH_SEED"));
        QList<QByteArray> renders;
        for (const char *name : {"een.pdf", "twee.pdf", "drie.pdf"}) {
            QProcess render;
            render.setProcessEnvironment(environment);
            render.start(QStringLiteral(MAKE_HELP_PDF), {QStringLiteral(HELP_HTML), folder.filePath(name)});
            QVERIFY(render.waitForFinished(60000));
            QCOMPARE(render.exitCode(), 0);
            QFile pdf(folder.filePath(name));
            QVERIFY(pdf.open(QIODevice::ReadOnly));
            renders << pdf.readAll();
        }
        QVERIFY(renders[0] == renders[1]);
        QVERIFY(renders[0] == renders[2]);
        const QString info =
            ProgramOutput(QStringLiteral(PDFINFO), {QStringLiteral("-isodates"), folder.filePath("een.pdf")});
        QVERIFY2(info.contains(QRegularExpression("CreationDate:\\s+2026-12-06T04:00:00(Z|\\+00)")),
                 qPrintable(info));
    }

    // Only the fonts the package depends on (fonts-liberation): a fallback to a font the build
    // machine happens to have would make the document differ from machine to machine.
    void onlyLiberationFonts()
    {
        const QStringList lines =
            ProgramOutput(QStringLiteral(PDFFONTS), {QStringLiteral(HELP_PDF)}).split('\n');
        QStringList fonts;
        for (const QString &line : lines.mid(2)) {
            if (!line.trimmed().isEmpty())
                fonts << line.section(' ', 0, 0);
        }
        QVERIFY(!fonts.isEmpty());
        for (const QString &font : std::as_const(fonts))
            QVERIFY2(font.contains(QLatin1String("Liberation")), qPrintable(fonts.join(", ")));
    }

    // A paragraph split over a page break must not be drawn again, hidden, on the other page.
    void eachParagraphOnce()
    {
        const QString text = withoutSpace(ProgramOutput(QStringLiteral(PDFTOTEXT), {"-raw", HELP_PDF, "-"}));
        QVERIFY(!text.isEmpty());
        int checked = 0;
        for (QTextBlock block = m_source.begin(); block.isValid(); block = block.next()) {
            const QString paragraph = withoutSpace(block.text());
            if (paragraph.size() < 40)
                continue;
            ++checked;
            QVERIFY2(text.count(paragraph) == 1, qPrintable(block.text()));
        }
        QVERIFY(checked > 40);
    }
};

QTEST_MAIN(TestHelpDocument)
#include "tst_help_document.moc"
