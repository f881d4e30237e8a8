// Writing a case file: the case's values laid over the document it was read from, so
// that unknown keys and the key order stay.

#include "case_file.h"
#include "json_text.h"

#include <cmath>

namespace casefile {
namespace {

using Json = nlohmann::ordered_json;

// Whole numbers as integers ("10", not "10.0"), others in their shortest exact form.
Json number(double value)
{
    if (std::isfinite(value) && value == std::floor(value) && std::abs(value) < 1e15)
        return Json(static_cast<long long>(value));
    return Json(value);
}

Json point(engine::SitePoint p)
{
    return Json::array({number(p.x), number(p.y)});
}

// The object under `key`, or a new one.
Json objectIn(const Json &parent, const char *key)
{
    const auto found = parent.find(key);
    return found != parent.end() && found->is_object() ? *found : Json::object();
}

// Element `index` of the array under `key` when it is an object, or a new one.
Json elementIn(const Json &parent, const char *key, std::size_t index)
{
    const auto found = parent.find(key);
    if (found == parent.end() || !found->is_array() || index >= found->size())
        return Json::object();
    const Json &element = (*found)[index];
    return element.is_object() ? element : Json::object();
}

// Texts that are empty and were not in the file stay out of it.
void text(Json &object, const char *key, const std::string &value)
{
    if (!value.empty() || object.contains(key))
        object[key] = value;
}

Json heights(const std::array<double, 5> &values)
{
    Json list = Json::array();
    for (double z : values)
        list.push_back(number(z));
    return list;
}

Json storageJson(const Json &site, std::size_t index, const engine::SiteStorage &storage)
{
    Json object = elementIn(site, "storages", index);
    text(object, "name", storage.name);
    object["indoor"] = storage.indoor;
    object["compact"] = storage.compact;
    object["corner"] = point(storage.corner);
    object["rotation"] = number(storage.rotation);
    object["width"] = number(storage.width);
    object["depth"] = number(storage.depth);
    object["height"] = number(storage.height);
    if (storage.screens.empty() && !object.contains("screens"))
        return object;
    Json screens = Json::array();
    for (std::size_t j = 0; j < storage.screens.size(); ++j) {
        const engine::FaceScreen &screen = storage.screens[j];
        Json one = elementIn(object, "screens", j);
        one["face"] = screen.face;
        one["hs"] = number(screen.hs);
        one["xs"] = number(screen.xs);
        one["K"] = number(screen.K);
        screens.push_back(one);
    }
    object["screens"] = screens;
    return object;
}

Json siteJson(const Json &document, const engine::Site &site)
{
    Json object = objectIn(document, "site");
    object["heights"] = heights(site.heights);
    object["limit"] = number(site.limit);
    object["envelope"] = site.envelope;
    Json storages = Json::array();
    for (std::size_t i = 0; i < site.storages.size(); ++i)
        storages.push_back(storageJson(object, i, site.storages[i]));
    object["storages"] = storages;
    if (site.boundary.empty()) {
        object.erase("boundary");
    } else {
        Json boundary = Json::array();
        for (const std::vector<engine::SitePoint> &polyline : site.boundary) {
            Json line = Json::array();
            for (engine::SitePoint p : polyline)
                line.push_back(point(p));
            boundary.push_back(line);
        }
        object["boundary"] = boundary;
    }
    if (!site.receivers.empty() || object.contains("receivers")) {
        Json receivers = Json::array();
        for (std::size_t i = 0; i < site.receivers.size(); ++i) {
            Json one = elementIn(object, "receivers", i);
            text(one, "name", site.receivers[i].name);
            one["at"] = point(site.receivers[i].at);
            receivers.push_back(one);
        }
        object["receivers"] = receivers;
    }
    return object;
}

// Removes element `index` of the array at document[first][second], when it is there.
void eraseElement(Json &document, const char *first, const char *second, std::size_t index)
{
    const auto outer = document.find(first);
    if (outer == document.end() || !outer->is_object())
        return;
    const auto list = outer->find(second);
    if (list != outer->end() && list->is_array() && index < list->size())
        list->erase(index);
}

} // namespace

std::string WriteCase(const Case &value)
{
    Json document = value.document.is_object() ? value.document : Json::object();
    document["format"] = kFormatName;
    document["version"] = kFormatVersion;

    Json meta = objectIn(document, "meta");
    text(meta, "title", value.meta.title);
    text(meta, "establishment", value.meta.establishment);
    text(meta, "address", value.meta.address);
    text(meta, "author", value.meta.author);
    text(meta, "notes", value.meta.notes);
    text(meta, "date", value.meta.date);
    if (!meta.empty() || document.contains("meta"))
        document["meta"] = meta;

    const engine::CalculationInput &in = value.calculation.input;
    Json calculation = objectIn(document, "calculation");
    calculation["B"] = number(in.B);
    calculation["D"] = number(in.D);
    calculation["H"] = number(in.H);
    calculation["x"] = number(in.x);
    calculation["y"] = number(in.y);
    calculation["heights"] = heights(in.heights);
    calculation["indoor"] = in.indoor;
    calculation["compact"] = in.compact;
    calculation["screen"] = in.screen;
    calculation["hs"] = number(in.hs);
    calculation["xs"] = number(in.xs);
    calculation["K"] = number(in.K);
    calculation["limit"] = number(value.calculation.limit);
    calculation["envelope"] = value.calculation.envelope;
    document["calculation"] = calculation;

    if (value.hasSite)
        document["site"] = siteJson(document, value.site);
    else
        document.erase("site");
    return detail::ReadableJson(document);
}

void RemoveStorage(Case &value, std::size_t index)
{
    if (index >= value.site.storages.size())
        return;
    value.site.storages.erase(value.site.storages.begin() + std::ptrdiff_t(index));
    eraseElement(value.document, "site", "storages", index);
}

void RemoveReceiver(Case &value, std::size_t index)
{
    if (index >= value.site.receivers.size())
        return;
    value.site.receivers.erase(value.site.receivers.begin() + std::ptrdiff_t(index));
    eraseElement(value.document, "site", "receivers", index);
}

} // namespace casefile
