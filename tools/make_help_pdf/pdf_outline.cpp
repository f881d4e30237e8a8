#include "pdf_outline.h"

#include <QMap>
#include <QRegularExpression>

#include <map>

namespace pdf_outline {

namespace {

// The objects of a PDF as its last cross-reference table and trailer list them.
struct Objects
{
    std::map<int, qsizetype> offsets;
    int size = 0;
    int root = 0;
    int info = 0;
    qsizetype table = 0;
};

bool readObjects(const QByteArray &pdf, Objects *objects, QString *error)
{
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (start < 0) {
        *error = QStringLiteral("no startxref");
        return false;
    }
    bool ok = false;
    objects->table = pdf.mid(start + 9, 24).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || !pdf.mid(objects->table).startsWith("xref")) {
        *error = QStringLiteral("no cross-reference table where startxref points");
        return false;
    }
    const qsizetype trailer = pdf.indexOf("trailer", objects->table);
    const QList<QByteArray> lines = pdf.mid(objects->table, trailer - objects->table).split('\n');
    int number = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].trimmed().split(' ');
        if (fields.size() == 2) {
            number = fields[0].toInt();
        } else if (fields.size() == 3) {
            if (fields[2] == "n")
                objects->offsets[number] = fields[0].toLongLong();
            ++number;
        }
    }
    const QByteArray dictionary = pdf.mid(trailer, start - trailer);
    const auto field = [&dictionary](const char *pattern) {
        return QRegularExpression(QString::fromLatin1(pattern)).match(QString::fromLatin1(dictionary));
    };
    if (field("/Prev\\b").hasMatch()) {
        *error = QStringLiteral("the document has been updated before");
        return false;
    }
    objects->size = field("/Size\\s+(\\d+)").captured(1).toInt();
    objects->root = field("/Root\\s+(\\d+)\\s+0\\s+R").captured(1).toInt();
    objects->info = field("/Info\\s+(\\d+)\\s+0\\s+R").captured(1).toInt();
    if (objects->size == 0 || !objects->offsets.count(objects->root)) {
        *error = QStringLiteral("no document catalog in the trailer");
        return false;
    }
    return true;
}

// What stands between "N 0 obj" and "endobj".
QByteArray body(const QByteArray &pdf, const Objects &objects, int number)
{
    const auto at = objects.offsets.find(number);
    if (at == objects.offsets.end())
        return {};
    const qsizetype begin = pdf.indexOf("obj", at->second) + 3;
    return pdf.mid(begin, pdf.indexOf("endobj", begin) - begin).trimmed();
}

int reference(const QByteArray &dictionary, const char *key)
{
    const QRegularExpression pattern(QString::fromLatin1(key) + QStringLiteral("\\s+(\\d+)\\s+0\\s+R"));
    return pattern.match(QString::fromLatin1(dictionary)).captured(1).toInt();
}

// A text string in UTF-16 with its byte order mark, which every reader takes.
QByteArray textString(const QString &text)
{
    QByteArray utf16 = "\xfe\xff";
    for (const QChar c : text) {
        utf16 += char(c.unicode() >> 8);
        utf16 += char(c.unicode() & 0xff);
    }
    return '<' + utf16.toHex() + '>';
}

QByteArray number(double value)
{
    return QByteArray::number(value, 'f', 2);
}

} // namespace

QByteArray withOutline(const QByteArray &pdf, const QList<Chapter> &chapters, const QList<Link> &links,
                       QString *error)
{
    Objects objects;
    if (!readObjects(pdf, &objects, error))
        return {};
    const QByteArray catalog = body(pdf, objects, objects.root);
    const QByteArray kids = body(pdf, objects, reference(catalog, "/Pages"));
    QList<int> pages;
    const QByteArray kidList = kids.mid(kids.indexOf("/Kids"));
    for (auto it = QRegularExpression(QStringLiteral("(\\d+)\\s+0\\s+R"))
                       .globalMatch(QString::fromLatin1(kidList.left(kidList.indexOf(']'))));
         it.hasNext();)
        pages << it.next().captured(1).toInt();

    QList<double> heights;
    for (const int page : pages) {
        const QRegularExpressionMatch box =
            QRegularExpression(QStringLiteral("/MediaBox\\s*\\[\\s*\\S+\\s+\\S+\\s+\\S+\\s+(\\S+)\\s*\\]"))
                .match(QString::fromLatin1(body(pdf, objects, page)));
        heights << (box.hasMatch() ? box.captured(1).toDouble() : 0);
    }
    const auto destination = [&](int page, double top) {
        return '[' + QByteArray::number(pages[page]) + " 0 R /XYZ null " + number(heights[page] - top)
            + " null]";
    };
    for (const Chapter &chapter : chapters) {
        if (chapter.page < 0 || chapter.page >= pages.size()) {
            *error = QStringLiteral("chapter \"%1\" lies on no page").arg(chapter.title);
            return {};
        }
    }

    QByteArray update;
    std::map<int, qsizetype> written;
    const auto write = [&](int object, const QByteArray &content) {
        written[object] = pdf.size() + update.size();
        update += QByteArray::number(object) + " 0 obj\n" + content + "\nendobj\n";
    };
    int next = objects.size;

    // The outline: a root and one item per chapter, in a chain.
    const int root = next++;
    const int first = next;
    next += int(chapters.size());
    for (int i = 0; i < chapters.size(); ++i) {
        QByteArray item = "<<\n/Title " + textString(chapters[i].title) + "\n/Parent "
            + QByteArray::number(root) + " 0 R\n/Dest " + destination(chapters[i].page, chapters[i].top);
        if (i > 0)
            item += "\n/Prev " + QByteArray::number(first + i - 1) + " 0 R";
        if (i + 1 < chapters.size())
            item += "\n/Next " + QByteArray::number(first + i + 1) + " 0 R";
        write(first + i, item + "\n>>");
    }
    write(root,
          "<<\n/Type /Outlines\n/First " + QByteArray::number(first) + " 0 R\n/Last "
              + QByteArray::number(first + chapters.size() - 1) + " 0 R\n/Count "
              + QByteArray::number(chapters.size()) + "\n>>");

    // Links, added to the annotation arrays the pages already refer to.
    QMap<int, QList<int>> annotations; // page -> link objects
    for (const Link &link : links) {
        if (link.page < 0 || link.page >= pages.size() || link.chapter < 0
            || link.chapter >= chapters.size()) {
            *error = QStringLiteral("a link points nowhere");
            return {};
        }
        const Chapter &target = chapters[link.chapter];
        const double height = heights[link.page];
        const int object = next++;
        write(object,
              "<<\n/Type /Annot\n/Subtype /Link\n/Rect [" + number(link.area.left()) + ' '
                  + number(height - link.area.bottom()) + ' ' + number(link.area.right()) + ' '
                  + number(height - link.area.top()) + "]\n/Border [0 0 0]\n/Dest "
                  + destination(target.page, target.top) + "\n>>");
        annotations[link.page] << object;
    }
    for (auto it = annotations.cbegin(); it != annotations.cend(); ++it) {
        const int array = reference(body(pdf, objects, pages[it.key()]), "/Annots");
        const QByteArray old = body(pdf, objects, array);
        if (array == 0 || !old.startsWith('[')) {
            *error = QStringLiteral("page %1 has no annotation array of its own").arg(it.key() + 1);
            return {};
        }
        QByteArray entries = old.mid(1, old.lastIndexOf(']') - 1).trimmed();
        for (const int object : it.value())
            entries += ' ' + QByteArray::number(object) + " 0 R";
        write(array, "[ " + entries.trimmed() + " ]");
    }

    // The catalog again, now naming the outline and opening with it shown.
    const QByteArray dictionary = catalog.left(catalog.lastIndexOf(">>"));
    write(objects.root,
          dictionary + "/Outlines " + QByteArray::number(root) + " 0 R\n/PageMode /UseOutlines\n>>");

    const qsizetype table = pdf.size() + update.size();
    update += "xref\n";
    for (const auto &[object, offset] : written)
        update += QByteArray::number(object) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0')
            + " 00000 n \n";
    update += "trailer\n<<\n/Size " + QByteArray::number(next) + "\n/Root " + QByteArray::number(objects.root)
        + " 0 R\n";
    if (objects.info)
        update += "/Info " + QByteArray::number(objects.info) + " 0 R\n";
    update += "/Prev " + QByteArray::number(objects.table) + "\n>>\nstartxref\n" + QByteArray::number(table)
        + "\n%%EOF\n";
    return pdf + update;
}

} // namespace pdf_outline
