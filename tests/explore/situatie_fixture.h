#pragma once

// What the Situatie's tests share: a yard of three storages with its boundary and two
// receivers.

#include "situatie_tab.h"

#include <QTest>

namespace situatie_test {

// The window's design storage, 10 × 10 m and 8 m high.
inline engine::SiteStorage designStorage(const char *name, engine::SitePoint corner, double rotation)
{
    engine::SiteStorage storage;
    storage.name = name;
    storage.corner = corner;
    storage.rotation = rotation;
    storage.width = 10;
    storage.depth = 10;
    storage.height = 8;
    return storage;
}

// Three storages on a yard of 100 × 100 m (one along the axes, one turned 30° with a
// screen before face 1, one turned 135°), the plot boundary around them and two receivers.
inline engine::Site yard()
{
    engine::Site site;
    site.storages.push_back(designStorage("A", {20, 20}, 0));
    site.storages.push_back(designStorage("B", {65, 25}, 30));
    site.storages.back().screens.push_back({1, 4, 2, 1});
    site.storages.push_back(designStorage("C", {45, 75}, 135));
    site.boundary = {{{-5, -5}, {95, -5}, {95, 95}, {-5, 95}, {-5, -5}}};
    site.receivers = {{"Woning 12", {40, 10}}, {"Kantoor", {110, 60}}};
    return site;
}

inline explore::SituatieState yardState()
{
    explore::SituatieState state;
    state.hasSite = true;
    state.site = yard();
    return state;
}

} // namespace situatie_test
