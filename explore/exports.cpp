#include "exports.h"

#include "safe_file.h"

#include "answers_panel.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTextDocument>

namespace explore {

QString ViewTitle(ViewKind kind)
{
    switch (kind) {
    case ViewKind::Distance:
        return QStringLiteral("Afstand");
    case ViewKind::Height:
        return QStringLiteral("Hoogte");
    case ViewKind::Plan:
        return QStringLiteral("Plattegrond");
    }
    return {};
}

QString WriteFileAtomically(const QString &path, const QByteArray &data)
{
    QString error;
    if (!platform::SafeFile::write(path, data, &error))
        return error;
    return {};
}

QByteArray RenderPng(ViewKind kind, const Exploration &exploration, const QSize &size, const QLocale &locale)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PaintView(painter, QRectF(QPointF(0, 0), size), kind, exploration, locale);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray RenderSvg(ViewKind kind, const Exploration &exploration, const QSize &size, const QLocale &locale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Warmtegloed – Verkenning: %1").arg(ViewTitle(kind)));
    {
        QPainter painter(&generator);
        PaintView(painter, QRectF(QPointF(0, 0), size), kind, exploration, locale);
    }
    return bytes;
}

namespace {

QString inputsHtml(const Exploration &exploration, const QLocale &locale)
{
    const ExplorationInput &input = exploration.input;
    const engine::CalculationInput &s = input.storage;
    auto row = [&](const QString &name, const QString &value) {
        return QStringLiteral("<tr><td>%1</td><td align=\"right\"><b>%2</b></td></tr>").arg(name, value);
    };
    auto m = [&](double v) { return Number(v, locale) + QStringLiteral(" m"); };
    QString html = QStringLiteral("<h3>Invoer</h3><table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">");
    html += row(QStringLiteral("Soort opslag"),
                s.indoor ? QStringLiteral("binnenopslag") : QStringLiteral("buitenopslag"));
    html += row(QStringLiteral("Breedte opslag (B)"), m(s.B));
    html += row(QStringLiteral("Diepte opslag (D)"), m(s.D));
    html += row(QStringLiteral("Hoogte opslag (H)"), m(s.H));
    html += row(QStringLiteral("Afstand tot beoordelingspunt (x)"), m(s.x));
    html += row(QStringLiteral("Positie beoordelingspunt (y)"), m(s.y));
    if (!s.indoor) {
        html += row(QStringLiteral("Compact gestapeld hout"),
                    s.compact ? QStringLiteral("ja") : QStringLiteral("nee"));
        html += row(QStringLiteral("Afscherming aanwezig"),
                    s.screen ? QStringLiteral("ja") : QStringLiteral("nee"));
        if (s.screen) {
            html += row(QStringLiteral("Hoogte scherm (hs)"), m(s.hs));
            html += row(QStringLiteral("Afstand scherm tot opslag (xs)"), m(s.xs));
            html += row(QStringLiteral("Efficiency scherm (K)"), Number(s.K, locale));
        }
        for (size_t i = 0; i < s.heights.size(); ++i)
            html += row(QStringLiteral("Hoogte beoordelingspunt %1").arg(i + 1), m(s.heights[i]));
    }
    html += row(QStringLiteral("Grenswaarde (L)"), Number(input.limitKw, locale) + QStringLiteral(" kW/m²"));
    html += row(QStringLiteral("Omhullende over alle hoogtes"),
                input.envelope && !s.indoor ? QStringLiteral("ja") : QStringLiteral("nee"));
    html += QStringLiteral("</table>");
    return html;
}

QString answersHtml(const Exploration &exploration, const QLocale &locale)
{
    if (!exploration.hasAnswers) {
        return QStringLiteral("<h3>Antwoorden</h3><p>%1</p>")
            .arg(QString::fromStdString(exploration.refusal.message).toHtmlEscaped());
    }
    const AnswerTexts texts = DescribeAnswers(exploration, locale);
    const QString at = Number(exploration.input.storage.x, locale) + QStringLiteral(" m");
    auto row = [&](const QString &name, const QString &value) {
        return QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>").arg(name, value.toHtmlEscaped());
    };
    QString html =
        QStringLiteral("<h3>Antwoorden</h3><table cellspacing=\"0\" cellpadding=\"3\" border=\"1\">");
    html += row(QStringLiteral("Hoogste niveau"), texts.highest);
    html += row(QStringLiteral("Oordeel"), texts.verdict);
    html += row(QStringLiteral("Maatgevende hoogte"), texts.decisiveHeight);
    html += row(QStringLiteral("Minimale afstand"), texts.distance);
    html += row(QStringLiteral("Grootste hoogte opslag bij x = %1").arg(at), texts.height);
    html += row(QStringLiteral("Grootste breedte opslag bij x = %1").arg(at), texts.width);
    html += QStringLiteral("</table>");
    return html;
}

const char *const kBasis =
    "<h3>Grondslag van de berekening</h3>"
    "<p>De niveaus volgen de bepalingsmethode voor houtopslag onder de AmvB Bouw- en Houtbedrijven, "
    "dezelfde berekening als het venster van Warmtegloedvracht.</p>"
    "<p><b>Buitenopslag.</b> De vlam is een verticale stralende rechthoek in het vlak van de voorzijde van "
    "de "
    "stapel, zo breed als de meegetelde breedte van de opslag (ten minste 35 m, 2,5 m meer per meter "
    "stapelhoogte "
    "boven 4 m) en zo hoog als de vlamhoogte. De vlam is verdeeld in 400 horizontale stroken; tot de "
    "bovenkant van "
    "de stapel straalt elke strook als een zwart lichaam van 1085 K (950 K bij compact gestapeld hout), "
    "daarboven "
    "lineair aflopend tot 793 K aan de vlamtop. De zichtfactor van elke strook volgt uit vier "
    "hoekzichtfactoren. "
    "Een scherm houdt het deel K tegen van de stroken onder de zichtlijn over de bovenrand; de atmosferische "
    "transmissie is 1,08 · x<sup>−0,09</sup> (ten hoogste 1).</p>"
    "<p><b>Binnenopslag.</b> De hele gevel straalt met 45 kW/m²; het beoordelingspunt ligt op halve "
    "gebouwhoogte.</p>"
    "<p><b>Toetsing.</b> Het hoogste niveau over de vijf beoordelingspunten (met de omhullende: over elke "
    "hoogte van "
    "0 m tot het hoogste punt, op 0,01 m bepaald) wordt vergeleken met de grenswaarde L. De minimale afstand "
    "is de "
    "kleinste afstand, naar boven afgerond op 0,01 m, vanaf waar het niveau tot 1000 m niet boven L komt; de "
    "grootste hoogte (tot 15 m) en breedte (tot 10000 m) zijn naar beneden afgerond op 0,01 m, zodat ook "
    "elke "
    "kleinere waarde voldoet.</p>"
    "<p><b>Figuren.</b> De kromme van de omhullende en de plattegrond met omhullende nemen het hoogste "
    "niveau over "
    "de vijf punten en over elf hoogtes van 0 m tot het hoogste punt; de plattegrond is op een rooster "
    "berekend en "
    "de contouren zijn daartussen lineair geïnterpoleerd. De antwoorden hierboven komen rechtstreeks uit de "
    "rekenkern.</p>"
    "<p>15 kW/m² is de grenswaarde voor houtopslag buiten (Bouwbesluit 2012, art. 7.7; Activiteitenbesluit): "
    "ten hoogste 15 kW/m² gedurende 60 minuten op de perceelsgrens of de gevel van een naburig gebouw. "
    "10 en 12,5 kW/m² zijn veelgebruikte criteria, bijvoorbeeld voor kwetsbare objecten of vluchtroutes.</p>";

} // namespace

QByteArray RenderReport(const Exploration &exploration, const QDateTime &when, const QLocale &locale)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(18, 15, 18, 15), QPageLayout::Millimeter);
    writer.setResolution(300);
    writer.setTitle(QStringLiteral("Verkenningsrapport"));
    writer.setCreator(QStringLiteral("Warmtegloed – Verkenning"));
    QPainter painter(&writer);
    const QRectF page(QPointF(0, 0), QSizeF(writer.width(), writer.height()));
    const double u = writer.resolution() / 96.0;
    const int pageCount = 5;
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(10);
    painter.setFont(font);
    const QString stamp = locale.toString(when, QLocale::LongFormat);

    auto frame = [&](int number, const QString &heading) {
        QFont headingFont = font;
        headingFont.setPointSizeF(14);
        headingFont.setBold(true);
        painter.setFont(headingFont);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(page.left(), page.top(), page.width(), 30 * u),
                         Qt::AlignLeft | Qt::AlignVCenter, heading);
        painter.setFont(font);
        painter.drawLine(QPointF(page.left(), page.top() + 32 * u),
                         QPointF(page.right(), page.top() + 32 * u));
        painter.drawText(QRectF(page.left(), page.bottom() - 20 * u, page.width(), 20 * u),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Verkenningsrapport Warmtegloedvracht – %1").arg(stamp));
        painter.drawText(QRectF(page.left(), page.bottom() - 20 * u, page.width(), 20 * u),
                         Qt::AlignRight | Qt::AlignVCenter,
                         QStringLiteral("Pagina %1 van %2").arg(number).arg(pageCount));
        return QRectF(page.left(), page.top() + 40 * u, page.width(), page.height() - 70 * u);
    };
    auto html = [&](const QString &text, const QRectF &area) {
        QTextDocument document;
        document.setDefaultFont(font);
        document.documentLayout()->setPaintDevice(&writer);
        document.setPageSize(area.size());
        document.setTextWidth(area.width());
        document.setHtml(text);
        painter.save();
        painter.translate(area.topLeft());
        document.drawContents(&painter, QRectF(QPointF(0, 0), area.size()));
        painter.restore();
    };

    QRectF body = frame(1, QStringLiteral("Verkenningsrapport warmtestraling houtopslag"));
    html(QStringLiteral("<p>Datum en tijd: %1</p>").arg(stamp.toHtmlEscaped())
             + inputsHtml(exploration, locale) + answersHtml(exploration, locale),
         body);
    const ViewKind views[] = {ViewKind::Distance, ViewKind::Height, ViewKind::Plan};
    for (int i = 0; i < 3; ++i) {
        writer.newPage();
        body = frame(i + 2, QStringLiteral("Figuur %1: %2").arg(i + 1).arg(ViewTitle(views[i])));
        const QRectF area(body.left(), body.top(), body.width(), std::min(body.height(), body.width() * 1.2));
        PaintView(painter, area, views[i], exploration, locale);
    }
    writer.newPage();
    body = frame(5, QStringLiteral("Grondslag"));
    html(QString::fromUtf8(kBasis), body);
    painter.end();
    return bytes;
}

} // namespace explore
