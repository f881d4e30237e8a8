#include "situatie_texts.h"

#include "exploration.h"
#include "view_painter.h"

#include "input_ranges.h"

#include <cmath>

namespace explore {
namespace {

QString receiverName(const engine::ReceiverCheck &receiver, std::size_t index)
{
    return receiver.name.empty() ? QStringLiteral("Ontvanger %1").arg(index + 1)
                                 : QString::fromStdString(receiver.name);
}

// Numbers without group separators: an RD coordinate reads 190045,00, not 190.045,00.
QLocale plain(QLocale locale)
{
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

QString signedMetres(double value, const QLocale &locale)
{
    // A minus sign, not a hyphen, as the views write axes.
    return Number(value, plain(locale)).replace(QLatin1Char('-'), QChar(0x2212)) + QStringLiteral(" m");
}

} // namespace

QString LevelText(double levelW, const QLocale &locale)
{
    return Number(levelW / 1000, plain(locale)) + QStringLiteral(" kW/m²");
}

QString MetresText(double metres, const QLocale &locale)
{
    return Number(metres, plain(locale)) + QStringLiteral(" m");
}

QString VerdictWord(bool complies)
{
    return complies ? QStringLiteral("voldoet") : QStringLiteral("voldoet niet");
}

QString FaceName(const engine::Site &site, int storage, int face)
{
    return QString::fromStdString(engine::FaceLabel(site, storage, face));
}

QString ReceiverLabel(const engine::ReceiverCheck &receiver, std::size_t index, const QLocale &locale)
{
    const QString name = receiverName(receiver, index);
    if (receiver.inside || !receiver.highest.found)
        return QStringLiteral("%1: geen niveau (binnen een opslag)").arg(name);
    return QStringLiteral("%1: %2 – %3")
        .arg(name, LevelText(receiver.highest.level, locale), VerdictWord(receiver.highest.complies));
}

QString BoundaryHighestLabel(const engine::SiteHighest &highest, const engine::Site &site,
                             const QLocale &locale)
{
    return QStringLiteral("Hoogste op de grens: %1 – %2\n%3")
        .arg(LevelText(highest.level, locale), VerdictWord(highest.complies),
             FaceName(site, highest.storage, highest.face));
}

QString LevelUnderCursor(const engine::Site &site, engine::SitePoint at, const QLocale &locale)
{
    const QString where =
        QStringLiteral("x = %1, y = %2").arg(signedMetres(at.x, locale), signedMetres(at.y, locale));
    const engine::SiteLevel level = engine::SiteLevelAt(site, at, LocaleDecimalSeparator());
    if (!level.ok())
        return QStringLiteral("%1: %2").arg(where, QString::fromStdString(level.message).simplified());
    if (level.inside) {
        return QStringLiteral("%1: binnen %2")
            .arg(where, QString::fromStdString(engine::StorageLabel(site, level.insideStorage)));
    }
    if (level.faces.empty())
        return QStringLiteral("%1: 0,00 kW/m²").arg(where);
    return QStringLiteral("%1: %2 (%3)")
        .arg(where, LevelText(level.level, locale),
             FaceName(site, level.governing.storage, level.governing.face));
}

QStringList FaceTableHeaders()
{
    return {QStringLiteral("Opslag"), QStringLiteral("Zijde"), QStringLiteral("Nodig"),
            QStringLiteral("Aanwezig"), QStringLiteral("Oordeel")};
}

std::vector<QStringList> FaceTableRows(const engine::SiteCheck &check, const engine::Site &site,
                                       const QLocale &locale)
{
    std::vector<QStringList> rows;
    for (const engine::FaceDistance &face : check.faces) {
        QString required;
        if (!face.hasRequired)
            required = QStringLiteral("> %1").arg(MetresText(engine::kDistanceSearch.maximum, locale));
        else if (face.bound == engine::SolutionBound::Lowest)
            required = MetresText(face.required, locale) + QStringLiteral(" (elke afstand)");
        else
            required = MetresText(face.required, locale);
        const QString available =
            face.facesBoundary ? MetresText(face.available, locale) : QStringLiteral("geen grens ervoor");
        const QString verdict = face.facesBoundary ? VerdictWord(face.complies) : QStringLiteral("–");
        rows.push_back({QString::fromStdString(engine::StorageLabel(site, face.storage)),
                        QString::number(face.face), required, available, verdict});
    }
    return rows;
}

QStringList ReceiverTableHeaders()
{
    return {QStringLiteral("Ontvanger"), QStringLiteral("x"),    QStringLiteral("y"),
            QStringLiteral("Niveau"),    QStringLiteral("Door"), QStringLiteral("Oordeel")};
}

std::vector<QStringList> ReceiverTableRows(const engine::SiteCheck &check, const engine::Site &site,
                                           const QLocale &locale)
{
    std::vector<QStringList> rows;
    for (std::size_t i = 0; i < check.receivers.size(); ++i) {
        const engine::ReceiverCheck &receiver = check.receivers[i];
        const bool level = !receiver.inside && receiver.highest.found;
        rows.push_back(
            {receiverName(receiver, i), signedMetres(receiver.at.x, locale),
             signedMetres(receiver.at.y, locale),
             level ? LevelText(receiver.highest.level, locale) : QStringLiteral("–"),
             level ? FaceName(site, receiver.highest.storage, receiver.highest.face) : QStringLiteral("–"),
             level ? VerdictWord(receiver.highest.complies) : QStringLiteral("binnen een opslag")});
    }
    return rows;
}

QString SiteVerdictSentence(const engine::SiteCheck &check, const engine::Site &site, const QLocale &locale)
{
    const QString limit = Number(site.limit, locale, site.limit == std::round(site.limit) ? 0 : 1);
    if (!check.hasBoundary && check.receivers.empty())
        return QStringLiteral("Geen oordeel: de situatie heeft geen perceelgrens en geen ontvangers.");
    if (check.complies)
        return QStringLiteral(
                   "De situatie voldoet: op de perceelgrens en bij elke ontvanger blijft het niveau "
                   "ten hoogste %1 kW/m².")
            .arg(limit);
    return QStringLiteral("De situatie voldoet niet: het niveau komt op de perceelgrens of bij een ontvanger "
                          "boven %1 kW/m².")
        .arg(limit);
}

} // namespace explore
