#pragma once

#include "situatie_compute.h"

#include <QLocale>
#include <QString>
#include <QStringList>

#include <vector>

namespace explore {

// The Situatie's own words, in one place: its labels on the map, the rows of its tables,
// the read-out under the mouse. Levels in kW/m² with two decimals, distances in metres.

QString LevelText(double levelW, const QLocale &locale);           // "12,34 kW/m²" from W/m²
QString MetresText(double metres, const QLocale &locale);          // "12,34 m"
QString VerdictWord(bool complies);                                // "voldoet" / "voldoet niet"
QString FaceName(const engine::Site &site, int storage, int face); // "Opslag A, zijde 2"

// The receiver's label on the map: "Woning 12: 3,21 kW/m² – voldoet".
QString ReceiverLabel(const engine::ReceiverCheck &receiver, std::size_t index, const QLocale &locale);

// The boundary's highest point on the map, on two lines: the level and verdict, then the
// storage and face.
QString BoundaryHighestLabel(const engine::SiteHighest &highest, const engine::Site &site,
                             const QLocale &locale);

// The level at a spot of the site as the mouse finds it, computed there by the engine:
// "x = 12,50 m, y = −3,00 m: 7,81 kW/m² (Opslag A, zijde 1)"; inside a storage it says so.
QString LevelUnderCursor(const engine::Site &site, engine::SitePoint at, const QLocale &locale);

// The faces' table: storage, face, required distance, available distance, verdict. A face
// without a boundary in front of it has no available distance ("geen grens ervoor"); a
// required distance beyond the solver's reach reads "> 1000 m".
QStringList FaceTableHeaders();
std::vector<QStringList> FaceTableRows(const engine::SiteCheck &check, const engine::Site &site,
                                       const QLocale &locale);

// The receivers' table: name, x, y, level, storage and face, verdict.
QStringList ReceiverTableHeaders();
std::vector<QStringList> ReceiverTableRows(const engine::SiteCheck &check, const engine::Site &site,
                                           const QLocale &locale);

// The whole site's verdict in one sentence.
QString SiteVerdictSentence(const engine::SiteCheck &check, const engine::Site &site, const QLocale &locale);

} // namespace explore
