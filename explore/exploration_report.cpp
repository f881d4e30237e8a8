#include "exploration_report.h"

#include "answers_panel.h"
#include "exports.h"
#include "input_ranges.h"
#include "legal_basis.h"
#include "situatie_report.h"
#include "typed_numbers.h"

#include "fire_models.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <memory>
#include <vector>

#ifndef WARMTEGLOED_VERSION
#error "WARMTEGLOED_VERSION is set by the build"
#endif

namespace explore {
namespace {

const QString kNotFilledIn = QStringLiteral("(niet ingevuld)");

QString row(const QString &name, const QString &value)
{
    return QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>").arg(name, value.toHtmlEscaped());
}

QString table(const QString &heading, const QString &rows)
{
    return QStringLiteral(
               "<h3>%1</h3><table cellspacing=\"0\" cellpadding=\"3\" border=\"1\" width=\"100%\">%2</table>")
        .arg(heading, rows);
}

QString orNotFilledIn(const QString &text)
{
    return text.trimmed().isEmpty() ? kNotFilledIn : text.trimmed();
}

QString caseHtml(const CaseDetails &details, const QDateTime &when, const QLocale &locale)
{
    const QDate date = details.date.isValid() ? details.date : when.date();
    QString rows = row(QStringLiteral("Zaak"), orNotFilledIn(details.title));
    rows += row(QStringLiteral("Inrichting"), orNotFilledIn(details.establishment));
    rows += row(QStringLiteral("Adres"), orNotFilledIn(details.address));
    rows += row(QStringLiteral("Opgesteld door"), orNotFilledIn(details.author));
    rows += row(QStringLiteral("Datum"), locale.toString(date, QStringLiteral("d MMMM yyyy")));
    rows += row(QStringLiteral("Berekend op"), ReportStamp(when, locale));
    rows +=
        row(QStringLiteral("Programma"), QStringLiteral("Warmtegloed – Verkenning %1").arg(ProgramVersion()));
    return table(QStringLiteral("Zaak"), rows);
}

QString verdictHtml(const Exploration &exploration, const QLocale &locale)
{
    const QString sentence = exploration.hasAnswers
        ? DescribeAnswers(exploration, locale).verdictSentence
        : QStringLiteral("Geen oordeel: %1").arg(QString::fromStdString(exploration.refusal.message));
    return QStringLiteral(
               "<h3>Oordeel</h3><table cellspacing=\"0\" cellpadding=\"6\" border=\"1\" width=\"100%\">"
               "<tr><td><b>%1</b></td></tr></table>")
        .arg(sentence.toHtmlEscaped());
}

// The inputs as typed: every digit the user gave, in the user's locale.
QString inputsHtml(const Exploration &exploration, const QLocale &locale)
{
    const ExplorationInput &input = exploration.input;
    const engine::CalculationInput &s = input.storage;
    auto m = [&](double v) { return ShortestNumber(v, locale) + QStringLiteral(" m"); };
    auto yesNo = [](bool yes) { return yes ? QStringLiteral("ja") : QStringLiteral("nee"); };
    QString rows = row(QStringLiteral("Soort opslag"),
                       s.indoor ? QStringLiteral("binnenopslag") : QStringLiteral("buitenopslag"));
    rows += row(QStringLiteral("Breedte opslag (B)"), m(s.B));
    rows += row(QStringLiteral("Diepte opslag (D)"), m(s.D));
    rows += row(QStringLiteral("Hoogte opslag (H)"), m(s.H));
    rows += row(QStringLiteral("Afstand tot beoordelingspunt (x)"), m(s.x));
    rows += row(QStringLiteral("Positie beoordelingspunt (y)"), m(s.y));
    if (!s.indoor) {
        rows += row(QStringLiteral("Compact gestapeld hout"), yesNo(s.compact));
        rows += row(QStringLiteral("Afscherming aanwezig"), yesNo(s.screen));
        if (s.screen) {
            rows += row(QStringLiteral("Hoogte scherm (hs)"), m(s.hs));
            rows += row(QStringLiteral("Afstand scherm tot opslag (xs)"), m(s.xs));
            rows += row(QStringLiteral("Efficiency scherm (K)"), ShortestNumber(s.K, locale));
        }
        for (size_t i = 0; i < s.heights.size(); ++i)
            rows += row(QStringLiteral("Hoogte beoordelingspunt %1").arg(i + 1), m(s.heights[i]));
    }
    rows += row(QStringLiteral("Grenswaarde (L)"),
                ShortestNumber(input.limitKw, locale) + QStringLiteral(" kW/m²"));
    rows += row(QStringLiteral("Omhullende over alle hoogtes"), yesNo(input.envelope && !s.indoor));
    return table(QStringLiteral("Invoer"), rows);
}

QString answersHtml(const Exploration &exploration, const QLocale &locale)
{
    if (!exploration.hasAnswers) {
        return QStringLiteral("<h3>Antwoorden</h3><p>%1</p>")
            .arg(QString::fromStdString(exploration.refusal.message).toHtmlEscaped());
    }
    const AnswerTexts texts = DescribeAnswers(exploration, locale);
    QString rows = row(QStringLiteral("Hoogste niveau"), texts.highest);
    rows += row(QStringLiteral("Oordeel"), texts.verdictBadge);
    rows += row(QStringLiteral("Maatgevende hoogte"), texts.decisiveHeight);
    rows += row(QStringLiteral("Minimale afstand"), texts.distance);
    rows += row(QStringLiteral("Grootste hoogte opslag"), texts.height);
    rows += row(QStringLiteral("Grootste breedte opslag"), texts.widthInFull);
    return table(QStringLiteral("Antwoorden"), rows);
}

QString methodHtml(const QLocale &locale)
{
    const auto n = [&](double v) { return ShortestNumber(v, locale); };
    return QStringLiteral(
               "<h3>Berekening</h3>"
               "<p><b>Buitenopslag.</b> De vlam is een verticale stralende rechthoek in het vlak van de "
               "voorzijde "
               "van de stapel, zo breed als de meegetelde breedte van de opslag en zo hoog als de "
               "vlamhoogte. De "
               "vlam is verdeeld in %1 horizontale stroken; de zichtfactor van elke strook volgt uit vier "
               "hoekzichtfactoren. Een scherm houdt het deel K tegen van de stroken onder de zichtlijn over "
               "de "
               "bovenrand; daarna volgt de atmosferische transmissie.</p>"
               "<p><b>Binnenopslag.</b> De hele gevel straalt; het beoordelingspunt ligt op halve "
               "gebouwhoogte.</p>"
               "<p><b>Toetsing.</b> Het hoogste niveau over de vijf beoordelingspunten (met de omhullende: "
               "over "
               "elke hoogte van 0 m tot het hoogste punt) wordt vergeleken met de grenswaarde L; de "
               "omhullende "
               "wordt altijd ook berekend, zodat het oordeel zegt wanneer het niveau tussen de punten hoger "
               "is. "
               "De minimale afstand is de kleinste afstand, naar boven afgerond op 0,01 m, vanaf waar het "
               "niveau "
               "tot %2 m niet boven L komt; de grootste hoogte (tot %3 m) en breedte (tot %4 m, voor een "
               "punt "
               "midden voor de zijde) zijn naar beneden afgerond op 0,01 m, zodat ook elke kleinere waarde "
               "voldoet. Een antwoord op de rand van het onderzochte bereik staat er als grens (≥) bij.</p>"
               "<p><b>Figuren.</b> De figuren zijn op een rooster van afstanden, hoogtes en plaatsen "
               "berekend; de "
               "contouren van de plattegrond zijn daartussen lineair geïnterpoleerd. De getallen op de "
               "eerste "
               "pagina komen rechtstreeks uit de rekenkern.</p>")
        .arg(engine::detail::kFlameStrips)
        .arg(n(engine::kDistanceSearch.maximum), n(engine::kHeightSearch.maximum),
             n(engine::kWidthSearch.maximum));
}

// A page's frame: the heading at the top, the stamp and page number at the foot; returns
// the area left for the body.
class ReportPages
{
public:
    ReportPages(QPagedPaintDevice &device, QPainter &painter, const QString &footer)
        : m_device(device)
        , m_painter(painter)
        , m_footer(footer)
        , m_unit(device.logicalDpiY() / 96.0)
        , m_page(QPointF(0, 0), QSizeF(device.width(), device.height()))
    {
        m_font = QFont(QStringLiteral("Liberation Sans"));
        m_font.setPointSizeF(10);
    }

    QRectF bodyArea() const
    {
        return QRectF(m_page.left(), m_page.top() + 40 * m_unit, m_page.width(),
                      m_page.height() - 70 * m_unit);
    }
    const QFont &font() const { return m_font; }

    // A document laid out for the body area, so that it can be counted and drawn.
    std::unique_ptr<QTextDocument> document(const QString &html) const
    {
        auto text = std::make_unique<QTextDocument>();
        text->setDefaultFont(m_font);
        text->documentLayout()->setPaintDevice(&m_device);
        text->setPageSize(bodyArea().size());
        text->setHtml(html);
        return text;
    }

    // Starts the next page with its heading and foot.
    void begin(const QString &heading)
    {
        if (m_number++ > 0)
            m_device.newPage();
        QFont headingFont = m_font;
        headingFont.setPointSizeF(14);
        headingFont.setBold(true);
        m_painter.setFont(headingFont);
        m_painter.setPen(Qt::black);
        m_painter.drawText(QRectF(m_page.left(), m_page.top(), m_page.width(), 30 * m_unit),
                           Qt::AlignLeft | Qt::AlignVCenter, heading);
        m_painter.setFont(m_font);
        m_painter.drawLine(QPointF(m_page.left(), m_page.top() + 32 * m_unit),
                           QPointF(m_page.right(), m_page.top() + 32 * m_unit));
        // The page number at the right; the stamp beside it, shortened in the middle should a
        // long case title leave it no room.
        const QRectF foot(m_page.left(), m_page.bottom() - 20 * m_unit, m_page.width(), 20 * m_unit);
        const QString number = QStringLiteral("Pagina %1 van %2").arg(m_number).arg(m_count);
        const QFontMetricsF metrics = m_painter.fontMetrics();
        const double numberWidth = metrics.horizontalAdvance(number) + 12 * m_unit;
        m_painter.drawText(foot, Qt::AlignRight | Qt::AlignVCenter, number);
        m_painter.drawText(foot.adjusted(0, 0, -numberWidth, 0), Qt::AlignLeft | Qt::AlignVCenter,
                           metrics.elidedText(m_footer, Qt::ElideMiddle, foot.width() - numberWidth));
    }

    // Draws every page of a document, each under the heading.
    void flow(QTextDocument &text, const QString &heading)
    {
        const QRectF area = bodyArea();
        for (int page = 0; page < text.pageCount(); ++page) {
            begin(heading);
            m_painter.save();
            m_painter.translate(area.left(), area.top() - page * area.height());
            text.drawContents(&m_painter, QRectF(0, page * area.height(), area.width(), area.height()));
            m_painter.restore();
        }
    }

    void setCount(int count) { m_count = count; }

private:
    QPagedPaintDevice &m_device;
    QPainter &m_painter;
    QString m_footer;
    double m_unit;
    QRectF m_page;
    QFont m_font;
    int m_number = 0;
    int m_count = 0;
};

} // namespace

QString ProgramVersion()
{
    return QStringLiteral(WARMTEGLOED_VERSION);
}

QString ReportStamp(const QDateTime &when, const QLocale &locale)
{
    const QDateTime local = when.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    const QString zone = QStringLiteral("UTC%1%2:%3")
                             .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                             .arg(std::abs(offset) / 60, 2, 10, QLatin1Char('0'))
                             .arg(std::abs(offset) % 60, 2, 10, QLatin1Char('0'));
    const QString abbreviation = local.timeZoneAbbreviation();
    const QString time = locale.toString(local, QStringLiteral("d MMMM yyyy, HH:mm"));
    return abbreviation.isEmpty() || abbreviation == zone
        ? QStringLiteral("%1 %2").arg(time, zone)
        : QStringLiteral("%1 %2 (%3)").arg(time, abbreviation, zone);
}

bool PaintReport(QPagedPaintDevice &device, const Exploration &exploration, const CaseDetails &details,
                 const QDateTime &when, const QLocale &locale, const SituatieSnapshot *site)
{
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    const QString title =
        details.title.trimmed().isEmpty() ? QString() : QStringLiteral(" – ") + details.title.trimmed();
    ReportPages pages(device, painter,
                      QStringLiteral("Verkenningsrapport%1 – %2").arg(title, ReportStamp(when, locale)));
    const std::unique_ptr<QTextDocument> first =
        pages.document(caseHtml(details, when, locale) + verdictHtml(exploration, locale)
                       + inputsHtml(exploration, locale) + answersHtml(exploration, locale));
    const std::unique_ptr<QTextDocument> basis =
        pages.document(methodHtml(locale) + QStringLiteral("<h3>Grondslag</h3>") + LegalBasisHtml());
    const ViewKind views[] = {ViewKind::Distance, ViewKind::Height, ViewKind::Plan};
    const bool withSite = site && site->complete();
    const std::unique_ptr<QTextDocument> siteText =
        withSite ? pages.document(SituatieReportHtml(*site, locale)) : nullptr;
    const int sitePages = withSite ? 1 + siteText->pageCount() : 0;
    pages.setCount(first->pageCount() + int(std::size(views)) + sitePages + basis->pageCount());

    pages.flow(*first, QStringLiteral("Verkenningsrapport warmtestraling houtopslag"));
    for (size_t i = 0; i < std::size(views); ++i) {
        pages.begin(QStringLiteral("Figuur %1: %2").arg(i + 1).arg(ViewTitle(views[i])));
        const QRectF body = pages.bodyArea();
        const QRectF area(body.left(), body.top(), body.width(), std::min(body.height(), body.width() * 1.2));
        painter.save();
        PaintView(painter, area, views[i], exploration, locale);
        painter.restore();
    }
    if (withSite) {
        pages.begin(QStringLiteral("Figuur %1: Situatie").arg(std::size(views) + 1));
        const QRectF body = pages.bodyArea();
        painter.save();
        PaintSituatieSnapshot(
            painter,
            QRectF(body.topLeft(), QSizeF(body.width(), std::min(body.height(), body.width() * 1.2))), *site,
            locale);
        painter.restore();
        pages.flow(*siteText, QStringLiteral("Situatie"));
    }
    pages.flow(*basis, QStringLiteral("Berekening en grondslag"));
    return painter.end();
}

QByteArray RenderReport(const Exploration &exploration, const CaseDetails &details, const QDateTime &when,
                        const QLocale &locale, const SituatieSnapshot *site)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("Verkenningsrapport"));
        writer.setCreator(QStringLiteral("Warmtegloed – Verkenning %1").arg(ProgramVersion()));
        PaintReport(writer, exploration, details, when, locale, site);
    }
    return bytes;
}

} // namespace explore
