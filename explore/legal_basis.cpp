#include "legal_basis.h"

namespace explore {

QString LegalLimitSource()
{
    return QStringLiteral(
        "15 kW/m²: de grenswaarde van de bepalingsmethode voor houtopslag buiten: ten hoogste 15 kW/m²\n"
        "gedurende 60 minuten op een naburig perceel. Tot 2024 stond deze eis in het Bouwbesluit 2012\n"
        "(art. 7.7, tweede lid); sinds 1 januari 2024 geldt de Omgevingswet met het Besluit bouwwerken\n"
        "leefomgeving (Bbl). Ga na welke bepaling in uw situatie geldt.");
}

QString CriterionSource()
{
    return QStringLiteral("%1: een veelgebruikt toetsingscriterium, bijvoorbeeld voor kwetsbare objecten of "
                          "vluchtroutes.\n"
                          "Geen wettelijke grenswaarde voor houtopslag; ga na wat in uw situatie geldt.");
}

QString LegalBasisHtml()
{
    return QStringLiteral(
        "<p><b>Methode.</b> De niveaus volgen de „Bepalingsmethode warmtestralingsbelasting opslag van hout” "
        "van het voormalige ministerie van VROM (mei 2004), geschreven voor de AMvB Bouw- en Houtbedrijven "
        "(Besluit bouw- en houtbedrijven milieubeheer).</p>"
        "<p><b>Regels, nu.</b> Sinds 1 januari 2024 geldt de Omgevingswet. Het Bouwbesluit 2012 is vervangen "
        "door "
        "het Besluit bouwwerken leefomgeving (Bbl), het Activiteitenbesluit milieubeheer door het Besluit "
        "activiteiten leefomgeving (Bal). Welke bepaling (van het Bbl, het Bal of het omgevingsplan) in deze "
        "zaak een grenswaarde stelt, gaat de opsteller van dit rapport zelf na; dit rapport toetst aan de "
        "grenswaarde L die is opgegeven.</p>"
        "<p><b>Regels, voorheen.</b> Tot 1 januari 2024 stond in het Bouwbesluit 2012, artikel 7.7, tweede "
        "lid, "
        "dat een opslag van hout anders dan in een gebouw bij brand gedurende ten minste 60 minuten geen "
        "grotere "
        "stralingsbelasting op een naburig perceel mag veroorzaken dan 15 kW/m². Van 2008 tot 1 april 2012 "
        "stond "
        "die eis in het Gebruiksbesluit, daarvoor in AMvB's op grond van de Wet milieubeheer, zoals het "
        "Besluit "
        "bouw- en houtbedrijven milieubeheer.</p>"
        "<p>10 en 12,5 kW/m² zijn veelgebruikte toetsingscriteria, bijvoorbeeld voor kwetsbare objecten of "
        "vluchtroutes; geen wettelijke grenswaarden voor houtopslag.</p>");
}

} // namespace explore
