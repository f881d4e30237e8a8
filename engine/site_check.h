#pragma once

// The site's question: does every point of the boundary, and every receiver, stay at or
// below the limit, and which face of which storage governs.

#include "field.h"
#include "limit.h"
#include "site.h"

#include <string>
#include <vector>

namespace engine {

// The highest level along the boundary or at a receiver, and the face that gives it.
struct SiteHighest
{
    bool found = false;    // false: no point with a level (all inside storages, or none)
    SitePoint at;          // where
    int polyline = -1;     // boundary: which polyline
    double level = 0;      // W/m²
    int storage = -1;      // index in Site::storages
    int face = 0;          // 1 to 4
    double height = 0;     // m, of the highest level
    bool complies = false; // level <= limit
};

struct ReceiverCheck
{
    std::string name;
    SitePoint at;
    bool inside = false; // inside a storage: no level
    SiteHighest highest;
};

// What one face needs from the boundary and what it has.
struct FaceDistance
{
    int storage = 0;
    int face = 1;
    bool hasRequired = false; // false: no distance up to the solver's end complies
    double required = 0;      // m: the distance solver's answer in front of the face's middle
    SolutionBound bound = SolutionBound::None;
    bool facesBoundary = false; // some boundary point lies in front of the face, within its length
    double available = 0;       // m: the smallest distance of those points
    bool complies = false;      // facesBoundary and a required distance no larger than the available one
};

struct SiteCheck
{
    CalculationStatus status = CalculationStatus::Ok;
    std::string message;   // Dutch, naming the storage and face, when the status is not Ok
    double limit = 15000;  // W/m²
    bool complies = false; // the boundary's highest and every receiver's level at or below the limit
    bool hasBoundary = false;
    SiteHighest boundary;
    std::vector<ReceiverCheck> receivers;
    std::vector<FaceDistance> faces; // every face of every storage, storage by storage

    bool ok() const { return status == CalculationStatus::Ok; }
};

// Along every boundary polyline the highest level, sampled at most every 0.1 m (the
// picture's levels) and refined to 1 cm around the highest samples with exact levels;
// the exact level at every receiver; for every face the distance it needs (Solve with
// that face's inputs at y = half its length) against the distance it has. A face the
// method cannot compute refuses the check with its label and the method's explanation.
SiteCheck CheckSite(const Site &site, char decimalSeparator = '.', const FieldOptions &options = {});

// The boundary's samples: every polyline cut into equal pieces of at most `spacing` m,
// its vertices included.
std::vector<SitePoint> BoundarySamples(const std::vector<SitePoint> &polyline, double spacing);

// The smallest distance in front of a face (0 <= y <= length, x > 0) of a polyline's
// points; false when none lies there. A polyline that runs into the storage gives 0.
bool DistanceInFront(const StorageFace &face, const std::vector<SitePoint> &polyline, double &distance);

} // namespace engine
