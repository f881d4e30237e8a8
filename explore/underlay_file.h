#pragma once

#include "underlay_placement.h"

#include <nlohmann/json.hpp>

#include <QString>

namespace explore {

// The kinds of drawing a site can lie on.
enum class UnderlayKind {
    Raster, // PNG or JPEG, placed by two points
    Pdf,    // one page of a PDF, placed by two points
    Vector, // DXF, GeoJSON, GeoPackage or Shapefile, at its own coordinates
};

// The site's own drawing underneath the Situatie, as the case keeps it: which file (an
// absolute path here; the case file holds it relative to its own folder), its SHA-256 so
// that a changed drawing is noticed, the page of a PDF, how it is placed and how strongly
// it shows.
struct Underlay
{
    bool present = false;
    QString path;
    UnderlayKind kind = UnderlayKind::Raster;
    int page = 0; // of a PDF, from 0 (the case file counts from 1)
    QString sha256;
    double opacity = 0.6; // 0.1 to 1
    UnderlayPlacement placement;
};

bool operator==(const Underlay &a, const Underlay &b);
inline bool operator!=(const Underlay &a, const Underlay &b)
{
    return !(a == b);
}

inline constexpr double kLeastOpacity = 0.1;

// The kind a file name asks for (.png, .jpg, .jpeg, .pdf, or a drawing gis reads); false
// for any other.
bool UnderlayKindOf(const QString &path, UnderlayKind &kind);

// The SHA-256 of a file's bytes in lower-case hexadecimal; empty when it cannot be read.
QString FileSha256(const QString &path);

// The `underlay` object of a case's site, read against the case file's folder (empty for
// a case not yet saved: then only an absolute path will do). A site without the key
// gives an absent underlay. False with a Dutch line naming the key when it is malformed.
bool ReadUnderlay(const nlohmann::ordered_json &site, const QString &caseFolder, Underlay &underlay,
                  QString &error);

// Writes the underlay into the site object (or removes the key when there is none); the
// path relative to `caseFolder` when that is given, with '/' between folders. Keys of the
// object this program does not know stay.
void WriteUnderlay(nlohmann::ordered_json &site, const Underlay &underlay, const QString &caseFolder);

// What became of the drawing since it was placed.
enum class UnderlayFileState { Found, Missing, Changed };

// Compares the file with the underlay's checksum; `message` says in Dutch what is wrong.
UnderlayFileState CheckUnderlayFile(const Underlay &underlay, QString &message);

} // namespace explore
