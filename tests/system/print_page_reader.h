#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QTest>

// Finds the page cups-pdf files for a print job and reads its words back with their
// boxes, in centimetres from the paper's corner.
namespace print_page {

constexpr double PointsPerCm = 72 / 2.54;

struct Word
{
    QString text;
    double left, top, right, bottom;
};

inline QString pdfDir() { return qEnvironmentVariable("WARMTEGLOED_PDF_DIR"); }

inline QSet<QString> pagesNow()
{
    const QStringList names = QDir(pdfDir()).entryList({"*.pdf"}, QDir::Files);
    return QSet<QString>(names.cbegin(), names.cend());
}

// The file of a page that was not there before, once cups-pdf has finished writing
// it; empty when none comes within the time limit.
inline QString waitForNewPage(const QSet<QString> &before, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    QString found;
    qint64 lastSize = -1;
    while (clock.elapsed() < timeoutMs) {
        if (found.isEmpty()) {
            for (const QString &name : pagesNow())
                if (!before.contains(name))
                    found = QDir(pdfDir()).filePath(name);
        }
        if (!found.isEmpty()) {
            // cups-pdf writes the file in place: wait until it stops growing.
            const qint64 size = QFileInfo(found).size();
            if (size > 0 && size == lastSize)
                return found;
            lastSize = size;
        }
        QTest::qWait(100);
    }
    return QString();
}

inline QList<Word> readWords(const QString &pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-bbox", pdf, "-"});
    pdftotext.waitForFinished(10000);
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Word> words;
    const QString xml = QString::fromUtf8(pdftotext.readAllStandardOutput());
    for (auto it = word.globalMatch(xml); it.hasNext();) {
        const auto m = it.next();
        words.append({m.captured(5).replace("&amp;", "&"), m.captured(1).toDouble() / PointsPerCm,
                      m.captured(2).toDouble() / PointsPerCm, m.captured(3).toDouble() / PointsPerCm,
                      m.captured(4).toDouble() / PointsPerCm});
    }
    return words;
}

// The page's text, one line per run of words sharing a top, blanks between words.
inline QStringList readLines(const QList<Word> &words)
{
    QStringList lines;
    double top = -1;
    for (const Word &word : words) {
        if (lines.isEmpty() || qAbs(word.top - top) > 0.01) {
            lines.append(word.text);
            top = word.top;
        } else {
            lines.last() += ' ' + word.text;
        }
    }
    return lines;
}

} // namespace print_page
