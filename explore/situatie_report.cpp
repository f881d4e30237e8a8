#include "situatie_report.h"

#include "situatie_texts.h"
#include "typed_numbers.h"

#include <QFileInfo>

namespace explore {
namespace {

QString cells(const QStringList &values, const char *tag)
{
    QString row = QStringLiteral("<tr>");
    for (const QString &value : values)
        row += QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), value.toHtmlEscaped());
    return row + QStringLiteral("</tr>");
}

QString table(const QStringList &headers, const std::vector<QStringList> &rows)
{
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\" width=\"100%\">");
    html += cells(headers, "th");
    for (const QStringList &row : rows)
        html += cells(row, "td");
    return html + QStringLiteral("</table>");
}

QString pair(const QString &name, const QString &value)
{
    return QStringLiteral("<tr><td>%1</td><td><b>%2</b></td></tr>")
        .arg(name.toHtmlEscaped(), value.toHtmlEscaped());
}

QString highestHtml(const engine::SiteCheck &check, const engine::Site &site, const QLocale &locale)
{
    QString html = QStringLiteral("<h3>Hoogste niveau op de perceelgrens</h3>");
    if (!check.hasBoundary)
        return html + QStringLiteral("<p>De situatie heeft geen perceelgrens.</p>");
    const engine::SiteHighest &highest = check.boundary;
    if (!highest.found)
        return html + QStringLiteral("<p>De perceelgrens ligt geheel binnen de opslagen.</p>");
    QString rows = pair(QStringLiteral("Niveau"), LevelText(highest.level, locale));
    rows += pair(QStringLiteral("Oordeel"), VerdictWord(highest.complies));
    rows += pair(
        QStringLiteral("Plaats (x, y)"),
        QStringLiteral("%1; %2").arg(MetresText(highest.at.x, locale), MetresText(highest.at.y, locale)));
    rows += pair(QStringLiteral("Door"), FaceName(site, highest.storage, highest.face));
    rows += pair(QStringLiteral("Op hoogte"), MetresText(highest.height, locale));
    return html + QStringLiteral("<table cellspacing=\"0\" cellpadding=\"3\" border=\"1\" width=\"100%\">")
        + rows + QStringLiteral("</table>");
}

QString underlayHtml(const Underlay &underlay, const QLocale &locale)
{
    if (!underlay.present)
        return {};
    QString placement;
    if (underlay.kind == UnderlayKind::Vector) {
        placement = QStringLiteral("op de eigen coördinaten van de tekening");
    } else {
        placement = QStringLiteral("schaal %1 m per beeldpunt, draaiing %2°")
                        .arg(ShortestNumber(underlay.placement.scale, locale),
                             ShortestNumber(underlay.placement.rotation, locale));
    }
    return QStringLiteral("<p>Onderlegger: %1 (%2).</p>")
        .arg(QFileInfo(underlay.path).fileName().toHtmlEscaped(), placement.toHtmlEscaped());
}

} // namespace

QString SituatieReportHtml(const SituatieSnapshot &snapshot, const QLocale &locale)
{
    if (!snapshot.complete())
        return {};
    const engine::Site &site = snapshot.state.site;
    const engine::SiteCheck &check = snapshot.result->check;
    QString html = QStringLiteral("<h3>Oordeel over de situatie</h3><p><b>%1</b></p>")
                       .arg(SiteVerdictSentence(check, site, locale).toHtmlEscaped());
    html += underlayHtml(snapshot.state.underlay, locale);
    html += highestHtml(check, site, locale);
    html += QStringLiteral("<h3>Ontvangers</h3>");
    html += check.receivers.empty() ? QStringLiteral("<p>De situatie heeft geen ontvangers.</p>")
                                    : table(ReceiverTableHeaders(), ReceiverTableRows(check, site, locale));
    html += QStringLiteral("<h3>Afstand per zijde tot de perceelgrens</h3>");
    html += QStringLiteral(
        "<p>Nodig: de afstand waarop het niveau voor het midden van de zijde tot de grenswaarde "
        "is gedaald; aanwezig: de kleinste afstand tot de perceelgrens recht voor de zijde.</p>");
    html += table(FaceTableHeaders(), FaceTableRows(check, site, locale));
    return html;
}

} // namespace explore
