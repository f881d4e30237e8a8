#include "contour.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>

namespace engine {
namespace {

// A cell edge by its lower-left grid node and direction: every crossing point is
// computed from its edge alone, so the two cells sharing an edge agree on it exactly
// and the joining can match ends by edge instead of by coordinates.
using EdgeKey = std::int64_t;

struct KeyedSegment
{
    ContourSegment segment;
    EdgeKey from = 0;
    EdgeKey to = 0;
};

EdgeKey horizontalEdge(const ScalarGrid &grid, int i, int j)
{
    return 2 * (static_cast<EdgeKey>(j) * grid.nx + i);
}

EdgeKey verticalEdge(const ScalarGrid &grid, int i, int j)
{
    return 2 * (static_cast<EdgeKey>(j) * grid.nx + i) + 1;
}

ContourPoint crossing(const ScalarGrid &grid, int i, int j, bool horizontal, double level)
{
    const int i1 = horizontal ? i + 1 : i;
    const int j1 = horizontal ? j : j + 1;
    const double v0 = grid.value(i, j);
    const double v1 = grid.value(i1, j1);
    // In halves, so that the differences of values near the largest double do not
    // overflow; the level lies between the two values, so t lies in [0, 1].
    const double t = std::clamp((level / 2 - v0 / 2) / (v1 / 2 - v0 / 2), 0.0, 1.0);
    const double x0 = grid.x0 + i * grid.dx;
    const double y0 = grid.y0 + j * grid.dy;
    if (horizontal)
        return {x0 + t * grid.dx, y0};
    return {x0, y0 + t * grid.dy};
}

std::vector<KeyedSegment> keyedSegments(const ScalarGrid &grid, double level)
{
    std::vector<KeyedSegment> segments;
    // A grid without the values its size promises has no cells.
    if (grid.nx < 2 || grid.ny < 2 || grid.values.size() / std::size_t(grid.nx) < std::size_t(grid.ny))
        return segments;
    for (int j = 0; j + 1 < grid.ny; ++j) {
        for (int i = 0; i + 1 < grid.nx; ++i) {
            // Corners counter-clockwise from the lower left; edge k joins corner k and k + 1.
            const double v[4] = {grid.value(i, j), grid.value(i + 1, j), grid.value(i + 1, j + 1),
                                 grid.value(i, j + 1)};
            if (!std::isfinite(v[0]) || !std::isfinite(v[1]) || !std::isfinite(v[2]) || !std::isfinite(v[3]))
                continue;
            bool inside[4];
            int insideCount = 0;
            for (int c = 0; c < 4; ++c) {
                inside[c] = v[c] >= level;
                insideCount += inside[c];
            }
            if (insideCount == 0 || insideCount == 4)
                continue;
            const EdgeKey keys[4] = {horizontalEdge(grid, i, j), verticalEdge(grid, i + 1, j),
                                     horizontalEdge(grid, i, j + 1), verticalEdge(grid, i, j)};
            const ContourPoint points[4] = {
                inside[0] != inside[1] ? crossing(grid, i, j, true, level) : ContourPoint {},
                inside[1] != inside[2] ? crossing(grid, i + 1, j, false, level) : ContourPoint {},
                inside[3] != inside[2] ? crossing(grid, i, j + 1, true, level) : ContourPoint {},
                inside[0] != inside[3] ? crossing(grid, i, j, false, level) : ContourPoint {},
            };
            auto add = [&](int e1, int e2) {
                segments.push_back({{points[e1], points[e2]}, keys[e1], keys[e2]});
            };
            const bool saddle = insideCount == 2 && inside[0] == inside[2];
            if (!saddle) {
                int first = -1;
                for (int e = 0; e < 4; ++e) {
                    if (inside[e] == inside[(e + 1) % 4])
                        continue;
                    if (first < 0)
                        first = e;
                    else
                        add(first, e);
                }
                continue;
            }
            // Cut off each corner that is on the other side than the cell's centre; the
            // corner c lies between edges c - 1 and c.
            const bool centreInside = v[0] / 4 + v[1] / 4 + v[2] / 4 + v[3] / 4 >= level;
            for (int c = 0; c < 4; ++c) {
                if (inside[c] != centreInside)
                    add((c + 3) % 4, c);
            }
        }
    }
    return segments;
}

} // namespace

std::vector<ContourSegment> ContourSegments(const ScalarGrid &grid, double level)
{
    std::vector<ContourSegment> result;
    for (const KeyedSegment &keyed : keyedSegments(grid, level))
        result.push_back(keyed.segment);
    return result;
}

std::vector<ContourLine> ContourLines(const ScalarGrid &grid, double level)
{
    const std::vector<KeyedSegment> segments = keyedSegments(grid, level);
    // Every edge carries at most two segment ends, one from each neighbouring cell.
    std::unordered_map<EdgeKey, std::vector<size_t>> byEdge;
    for (size_t s = 0; s < segments.size(); ++s) {
        byEdge[segments[s].from].push_back(s);
        byEdge[segments[s].to].push_back(s);
    }
    std::vector<bool> used(segments.size(), false);
    std::vector<ContourLine> lines;

    auto follow = [&](size_t start, EdgeKey startEdge) {
        ContourLine line;
        size_t current = start;
        EdgeKey edge = startEdge;
        const KeyedSegment &first = segments[start];
        line.points.push_back(first.from == startEdge ? first.segment.a : first.segment.b);
        while (true) {
            used[current] = true;
            const KeyedSegment &segment = segments[current];
            const bool forward = segment.from == edge;
            line.points.push_back(forward ? segment.segment.b : segment.segment.a);
            edge = forward ? segment.to : segment.from;
            size_t next = segments.size();
            for (size_t candidate : byEdge[edge]) {
                if (!used[candidate])
                    next = candidate;
            }
            if (next == segments.size()) {
                line.closed = edge == startEdge;
                break;
            }
            current = next;
        }
        lines.push_back(std::move(line));
    };

    // Open lines start at an edge that only one segment touches (the grid's border or a hole).
    for (size_t s = 0; s < segments.size(); ++s) {
        if (used[s])
            continue;
        if (byEdge[segments[s].from].size() == 1)
            follow(s, segments[s].from);
        else if (byEdge[segments[s].to].size() == 1)
            follow(s, segments[s].to);
    }
    for (size_t s = 0; s < segments.size(); ++s) {
        if (!used[s])
            follow(s, segments[s].from);
    }
    return lines;
}

} // namespace engine
