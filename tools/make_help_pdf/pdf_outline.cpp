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

QByteArray ref(int object)
{
    return QByteArray::number(object) + " 0 R";
}

// The pages in their order, each with its height, which turns a distance from the top
// (as the layout counts) into PDF's distance from the bottom.
struct Pages
{
    QList<int> objects;
    QList<double> heights;

    bool contains(int page) const { return page >= 0 && page < objects.size(); }
    QByteArray destination(int page, double top) const
    {
        return '[' + ref(objects[page]) + " /XYZ null " + number(heights[page] - top) + " null]";
    }
};

Pages readPages(const QByteArray &pdf, const Objects &objects, const QByteArray &catalog)
{
    Pages pages;
    const QByteArray kids = body(pdf, objects, reference(catalog, "/Pages"));
    const QByteArray kidList = kids.mid(kids.indexOf("/Kids"));
    for (auto it = QRegularExpression(QStringLiteral("(\\d+)\\s+0\\s+R"))
                       .globalMatch(QString::fromLatin1(kidList.left(kidList.indexOf(']'))));
         it.hasNext();)
        pages.objects << it.next().captured(1).toInt();
    const QRegularExpression mediaBox(
        QStringLiteral("/MediaBox\\s*\\[\\s*\\S+\\s+\\S+\\s+\\S+\\s+(\\S+)\\s*\\]"));
    for (const int page : std::as_const(pages.objects)) {
        const QRegularExpressionMatch box = mediaBox.match(QString::fromLatin1(body(pdf, objects, page)));
        pages.heights << (box.hasMatch() ? box.captured(1).toDouble() : 0);
    }
    return pages;
}

// The incremental update being written after the document: new and replaced objects,
// then their cross-reference table and a trailer that points back to the document's.
class Update
{
public:
    Update(const QByteArray &pdf, const Objects &objects)
        : m_pdf(pdf)
        , m_objects(objects)
        , m_next(objects.size)
    { }

    int newObject() { return m_next++; }

    void write(int object, const QByteArray &content)
    {
        m_written[object] = m_pdf.size() + m_text.size();
        m_text += QByteArray::number(object) + " 0 obj\n" + content + "\nendobj\n";
    }

    QByteArray finished()
    {
        const qsizetype table = m_pdf.size() + m_text.size();
        m_text += "xref\n";
        for (const auto &[object, offset] : m_written)
            m_text += QByteArray::number(object) + " 1\n" + QByteArray::number(offset).rightJustified(10, '0')
                + " 00000 n \n";
        m_text +=
            "trailer\n<<\n/Size " + QByteArray::number(m_next) + "\n/Root " + ref(m_objects.root) + "\n";
        if (m_objects.info)
            m_text += "/Info " + ref(m_objects.info) + "\n";
        m_text += "/Prev " + QByteArray::number(m_objects.table) + "\n>>\nstartxref\n"
            + QByteArray::number(table) + "\n%%EOF\n";
        return m_pdf + m_text;
    }

private:
    const QByteArray &m_pdf;
    const Objects &m_objects;
    int m_next;
    QByteArray m_text;
    std::map<int, qsizetype> m_written;
};

// The outline: a root and one item per chapter, in a chain. Gives the root.
int writeOutline(Update &update, const QList<Chapter> &chapters, const Pages &pages)
{
    const int root = update.newObject();
    QList<int> items;
    for (qsizetype i = 0; i < chapters.size(); ++i)
        items << update.newObject();
    for (qsizetype i = 0; i < chapters.size(); ++i) {
        QByteArray item = "<<\n/Title " + textString(chapters[i].title) + "\n/Parent " + ref(root)
            + "\n/Dest " + pages.destination(chapters[i].page, chapters[i].top);
        if (i > 0)
            item += "\n/Prev " + ref(items[i - 1]);
        if (i + 1 < chapters.size())
            item += "\n/Next " + ref(items[i + 1]);
        update.write(items[i], item + "\n>>");
    }
    update.write(root,
                 "<<\n/Type /Outlines\n/First " + ref(items.front()) + "\n/Last " + ref(items.back())
                     + "\n/Count " + QByteArray::number(chapters.size()) + "\n>>");
    return root;
}

// Links, added to the annotation arrays the pages already refer to.
bool writeLinks(Update &update, const QByteArray &pdf, const Objects &objects, const QList<Link> &links,
                const QList<Chapter> &chapters, const Pages &pages, QString *error)
{
    QMap<int, QList<int>> annotations; // page -> link objects
    for (const Link &link : links) {
        if (!pages.contains(link.page) || link.chapter < 0 || link.chapter >= chapters.size()) {
            *error = QStringLiteral("a link points nowhere");
            return false;
        }
        const Chapter &target = chapters[link.chapter];
        const double height = pages.heights[link.page];
        const int object = update.newObject();
        update.write(object,
                     "<<\n/Type /Annot\n/Subtype /Link\n/Rect [" + number(link.area.left()) + ' '
                         + number(height - link.area.bottom()) + ' ' + number(link.area.right()) + ' '
                         + number(height - link.area.top()) + "]\n/Border [0 0 0]\n/Dest "
                         + pages.destination(target.page, target.top) + "\n>>");
        annotations[link.page] << object;
    }
    for (auto it = annotations.cbegin(); it != annotations.cend(); ++it) {
        const int array = reference(body(pdf, objects, pages.objects[it.key()]), "/Annots");
        const QByteArray old = body(pdf, objects, array);
        if (array == 0 || !old.startsWith('[')) {
            *error = QStringLiteral("page %1 has no annotation array of its own").arg(it.key() + 1);
            return false;
        }
        QByteArray entries = old.mid(1, old.lastIndexOf(']') - 1).trimmed();
        for (const int object : it.value())
            entries += ' ' + ref(object);
        update.write(array, "[ " + entries.trimmed() + " ]");
    }
    return true;
}

} // namespace

QByteArray withOutline(const QByteArray &pdf, const QList<Chapter> &chapters, const QList<Link> &links,
                       QString *error)
{
    Objects objects;
    if (!readObjects(pdf, &objects, error))
        return {};
    const QByteArray catalog = body(pdf, objects, objects.root);
    const Pages pages = readPages(pdf, objects, catalog);
    if (chapters.isEmpty()) {
        *error = QStringLiteral("no chapters for the outline");
        return {};
    }
    for (const Chapter &chapter : chapters) {
        if (!pages.contains(chapter.page)) {
            *error = QStringLiteral("chapter \"%1\" lies on no page").arg(chapter.title);
            return {};
        }
    }
    Update update(pdf, objects);
    const int outline = writeOutline(update, chapters, pages);
    if (!writeLinks(update, pdf, objects, links, chapters, pages, error))
        return {};
    // The catalog again, now naming the outline and opening with it shown.
    const QByteArray dictionary = catalog.left(catalog.lastIndexOf(">>"));
    update.write(objects.root, dictionary + "/Outlines " + ref(outline) + "\n/PageMode /UseOutlines\n>>");
    return update.finished();
}

} // namespace pdf_outline
