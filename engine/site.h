#pragma once

// A site: several storages on one plot, its boundary ("perceelgrens") and the
// neighbours' points ("ontvangers"), in metres on the ground (x east, y north; RD New
// coordinates work as they are). Plain C++17, no I/O: the case file (case/) reads and
// writes it, the command line and the exploration window compute with it.
//
// A storage is a rectangle: corners P1 = corner, P2 = P1 + width·u, P3 = P2 + depth·v,
// P4 = P1 + depth·v with u = (cos r, sin r), v = (−sin r, cos r), r = rotation in degrees
// counterclockwise. Face k (1 to 4) runs from P_k to P_(k+1) (P5 = P1); its outward
// normal is its direction turned clockwise. A ground point q lies in front of face k
// when x = (q − P_k)·n_k > 0. For that face the level is the one Calculate gives with
// B = the face's length, D = the storage's other side, H = the storage's height, x,
// y = (q − P_k)·t_k, the site's heights, the storage's options, and the face's screen
// when the point lies beyond it (x > xs). The level at q is the highest over the
// storages, their faces that q lies in front of, and the heights (or every height from
// 0 m to the highest, with `envelope`). A point inside a storage, or on its outline,
// lies in front of none of its faces: it has no level.

#include "calculate.h"

#include <array>
#include <string>
#include <vector>

namespace engine {

struct SitePoint
{
    double x = 0; // m, east
    double y = 0; // m, north
};

// A screen in front of one face: height hs, distance xs from the face, efficiency K.
struct FaceScreen
{
    int face = 1; // 1 to 4
    double hs = 0;
    double xs = 0;
    double K = 1;
};

struct SiteStorage
{
    std::string name;
    bool indoor = false;             // a building whose whole facade radiates ("Binnenopslag")
    bool compact = false;            // "Compact gestapeld hout"
    SitePoint corner;                // P1
    double rotation = 0;             // degrees, counterclockwise from east
    double width = 20;               // P1 to P2 (m)
    double depth = 8;                // P2 to P3 (m)
    double height = 6;               // m
    std::vector<FaceScreen> screens; // at most one per face
};

struct SiteReceiver
{
    std::string name;
    SitePoint at;
};

struct Site
{
    std::array<double, 5> heights {2.5, 5, 7.5, 10, 12.5}; // of the assessment points (m)
    double limit = 15;                                     // kW/m²
    bool envelope = false;
    std::vector<SiteStorage> storages;
    std::vector<std::vector<SitePoint>> boundary; // polylines; repeat the first point to close one
    std::vector<SiteReceiver> receivers;
};

// Whether two sites hold equal storages, boundary, receivers, heights and limit: an edit
// that changes nothing is no edit, and an answer is current only for its own site.
bool SameSite(const Site &a, const Site &b);

// The smallest rectangle along the axes around the points taken; empty until the first.
struct SiteBox
{
    double west = 0;
    double east = 0;
    double south = 0;
    double north = 0;
    bool empty = true;

    void take(SitePoint p);
};

// The box around a site's storages, boundary and receivers.
SiteBox SiteExtent(const Site &site);

// One face of a storage in site coordinates.
struct StorageFace
{
    SitePoint from;      // P_k
    SitePoint to;        // P_(k+1)
    SitePoint direction; // t_k, unit
    SitePoint normal;    // n_k, unit, outward
    double length = 0;   // B of the face's calculation
    double depth = 0;    // D: the storage's other side
};

// The corners P1 to P4. Rotations that are whole quarter turns are exact.
std::array<SitePoint, 4> StorageCorners(const SiteStorage &storage);

// Face `face` (1 to 4) of the storage.
StorageFace FaceOf(const SiteStorage &storage, int face);

// A point seen from a face: x its distance in front of the face's line (above 0 in
// front), y its position along the face from P_k.
struct FacePosition
{
    double x = 0;
    double y = 0;
};

FacePosition PositionBefore(const StorageFace &face, SitePoint q);

// The screen of face `face`, or null.
const FaceScreen *ScreenOf(const SiteStorage &storage, int face);

// The calculation of face `face` for a point at `position` in front of it: B, D, H, x,
// y, the site's heights, the storage's options, and the face's screen when the point
// lies beyond it (x > xs; a nearer point, or a face without a screen, has no screen).
CalculationInput FaceInput(const Site &site, const SiteStorage &storage, int face,
                           const FacePosition &position);

// The level of one face at a point in front of it.
struct FaceLevel
{
    int storage = 0;   // index in Site::storages
    int face = 1;      // 1 to 4
    double x = 0;      // m, in front of the face
    double y = 0;      // m, along the face
    double level = 0;  // W/m², the highest over the heights (or the envelope)
    double height = 0; // m, where that level occurs (indoors half the building height)
};

struct SiteLevel
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message;          // Dutch, naming the storage and face, when the status is not Ok
    bool inside = false;          // the point lies inside (or on the outline of) a storage: no level
    int insideStorage = -1;       // which one
    double level = 0;             // W/m², the highest of `faces`
    FaceLevel governing;          // the face that gives it (the first of equals)
    std::vector<FaceLevel> faces; // every face the point lies in front of, storage by storage

    bool ok() const { return status == CalculationStatus::Ok; }
    bool hasLevel() const { return ok() && !inside; }
};

// The level of face `face` (1 to 4) of storage `storage` at a point in front of it, as
// Calculate (or, with the site's envelope, HighestAlong) gives it for the face's inputs.
// A refusal gives the method's status and, in `message`, its explanation after the face's
// label ("Stapel A, zijde 2: ...").
CalculationStatus FaceLevelAt(const Site &site, int storage, int face, const FacePosition &position,
                              FaceLevel &out, std::string &message, char decimalSeparator = '.');

// The level at a ground point, each face's level exactly as Calculate (or, with the
// site's envelope, HighestAlong) gives it for that face's inputs.
SiteLevel SiteLevelAt(const Site &site, SitePoint q, char decimalSeparator = '.');

// Whether q lies inside or on the outline of the storage (in front of none of its faces).
bool IsInside(const SiteStorage &storage, SitePoint q);

// "Stapel A, zijde 2: " — the prefix of a message about one face; a storage without a
// name is called "opslag N" (N from 1).
std::string FaceLabel(const Site &site, int storage, int face);
std::string StorageLabel(const Site &site, int storage);

} // namespace engine
