#pragma once

// The design site that the Situatie's tests and the site benchmarks share: storages of the
// window's design size on a yard of 100 × 100 m.

#include "site.h"

namespace design_site {

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

// The first `storages` (one to three) of: one along the axes, one turned 30° with a screen
// before face 1, one turned 135°. No boundary, no receivers.
inline engine::Site yardStorages(int storages = 3)
{
    engine::Site site;
    site.storages.push_back(designStorage("A", {20, 20}, 0));
    if (storages > 1) {
        site.storages.push_back(designStorage("B", {65, 25}, 30));
        site.storages.back().screens.push_back({1, 4, 2, 1});
    }
    if (storages > 2)
        site.storages.push_back(designStorage("C", {45, 75}, 135));
    return site;
}

// The three storages, the plot boundary around them and two receivers.
inline engine::Site yard()
{
    engine::Site site = yardStorages();
    site.boundary = {{{-5, -5}, {95, -5}, {95, 95}, {-5, 95}, {-5, -5}}};
    site.receivers = {{"Woning 12", {40, 10}}, {"Kantoor", {110, 60}}};
    return site;
}

} // namespace design_site
