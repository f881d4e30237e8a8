// Reading a case file: every value checked against the method's ranges, the first fault
// refused with the key that holds it.

#include "case_file.h"
#include "json_text.h"

#include "input_ranges.h"
#include "number_text.h"

#include <cmath>
#include <set>

namespace casefile {
namespace {

using Json = nlohmann::ordered_json;

std::string keyPath(const std::string &parent, const char *key)
{
    return parent.empty() ? std::string(key) : parent + "." + key;
}

std::string indexPath(const std::string &parent, std::size_t index)
{
    return parent + "[" + std::to_string(index) + "]";
}

// A whole number (also when written as 2.0), or false; values beyond the range of long
// long are held at its ends.
bool wholeNumber(const Json &value, long long &out)
{
    constexpr long long kLargest = 9223372036854775807LL;
    if (value.is_number_unsigned()) {
        const auto unsignedValue = value.get<unsigned long long>();
        out = unsignedValue > static_cast<unsigned long long>(kLargest)
            ? kLargest
            : static_cast<long long>(unsignedValue);
        return true;
    }
    if (value.is_number_integer()) {
        out = value.get<long long>();
        return true;
    }
    if (value.is_number_float()) {
        const double v = value.get<double>();
        if (!(v == std::floor(v)) || std::abs(v) > 1e18)
            return false;
        out = static_cast<long long>(v);
        return true;
    }
    return false;
}

// One range with the unit its message names.
struct Range
{
    engine::InputRange range;
    const char *unit; // " m", " kW/m²", "°" or ""
};

const Range kCoordinate {{-kMaximumCoordinate, kMaximumCoordinate}, " m"};
const Range kRotation {{-kMaximumRotation, kMaximumRotation}, "°"};

Range metres(const engine::QuantityRange &quantity)
{
    return {quantity.method, " m"};
}

// Reads values under a path and keeps the first fault.
class Reader
{
public:
    explicit Reader(char decimalSeparator)
        : m_separator(decimalSeparator)
    { }

    bool failed() const { return !m_error.empty(); }
    const std::string &error() const { return m_error; }

    bool fail(const std::string &path, const std::string &what)
    {
        if (m_error.empty())
            m_error = path.empty() ? what : path + ": " + what;
        return false;
    }

    std::string text(double value) const { return engine::numberToText(value, m_separator); }

    // The member `key` of an object, or null; a missing required member is a fault.
    const Json *member(const Json &object, const std::string &parent, const char *key, bool required)
    {
        const auto found = object.find(key);
        if (found != object.end())
            return &*found;
        if (required)
            fail(keyPath(parent, key), "ontbreekt");
        return nullptr;
    }

    bool isObject(const Json *value, const std::string &path)
    {
        return value && (value->is_object() || fail(path, "moet een object {…} zijn"));
    }

    bool isArray(const Json *value, const std::string &path)
    {
        return value && (value->is_array() || fail(path, "moet een lijst […] zijn"));
    }

    bool number(const Json &value, const std::string &path, const Range &range, double &out)
    {
        if (!value.is_number())
            return fail(path, "moet een getal zijn");
        const double v = value.get<double>();
        if (!std::isfinite(v))
            return fail(path, "moet een eindig getal zijn");
        if (!range.range.contains(v)) {
            if (range.range.minimum > 0 && v <= 0)
                return fail(path, std::string("moet groter zijn dan 0") + range.unit);
            return fail(path,
                        "moet tussen " + text(range.range.minimum) + " en " + text(range.range.maximum)
                            + range.unit + " liggen");
        }
        out = v;
        return true;
    }

    // An optional or required number member; a missing optional one keeps `out`.
    bool number(const Json &object, const std::string &parent, const char *key, const Range &range,
                double &out, bool required = true)
    {
        const Json *value = member(object, parent, key, required);
        if (!value)
            return !required;
        return number(*value, keyPath(parent, key), range, out);
    }

    bool flag(const Json &object, const std::string &parent, const char *key, bool &out)
    {
        const Json *value = member(object, parent, key, false);
        if (!value)
            return true;
        if (!value->is_boolean())
            return fail(keyPath(parent, key), "moet true of false zijn");
        out = value->get<bool>();
        return true;
    }

    bool string(const Json &object, const std::string &parent, const char *key, std::string &out)
    {
        const Json *value = member(object, parent, key, false);
        if (!value)
            return true;
        if (!value->is_string())
            return fail(keyPath(parent, key), "moet tekst zijn");
        out = value->get_ref<const std::string &>();
        return true;
    }

    bool heights(const Json &object, const std::string &parent, std::array<double, 5> &out, bool required)
    {
        const std::string path = keyPath(parent, "heights");
        const Json *value = member(object, parent, "heights", required);
        if (!value)
            return !required;
        if (!value->is_array() || value->size() != out.size())
            return fail(path, "moet een lijst van 5 hoogten zijn");
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (!number((*value)[i], indexPath(path, i), metres(engine::kPointHeightRange), out[i]))
                return false;
        }
        return true;
    }

    bool point(const Json &value, const std::string &path, engine::SitePoint &out)
    {
        if (!value.is_array() || value.size() != 2)
            return fail(path, "moet een punt [x, y] zijn");
        return number(value[0], indexPath(path, 0), kCoordinate, out.x)
            && number(value[1], indexPath(path, 1), kCoordinate, out.y);
    }

private:
    char m_separator;
    std::string m_error;
};

bool readMeta(Reader &reader, const Json &root, Meta &meta)
{
    const Json *object = reader.member(root, "", "meta", false);
    if (!object)
        return true;
    if (!reader.isObject(object, "meta"))
        return false;
    return reader.string(*object, "meta", "title", meta.title)
        && reader.string(*object, "meta", "establishment", meta.establishment)
        && reader.string(*object, "meta", "address", meta.address)
        && reader.string(*object, "meta", "author", meta.author)
        && reader.string(*object, "meta", "notes", meta.notes)
        && reader.string(*object, "meta", "date", meta.date);
}

bool readCalculation(Reader &reader, const Json &root, Calculation &calculation)
{
    const std::string at = "calculation";
    const Json *object = reader.member(root, "", "calculation", true);
    if (!reader.isObject(object, at))
        return false;
    engine::CalculationInput &in = calculation.input;
    return reader.number(*object, at, "B", metres(engine::kWidthRange), in.B)
        && reader.number(*object, at, "D", metres(engine::kDepthRange), in.D)
        && reader.number(*object, at, "H", metres(engine::kHeightRange), in.H)
        && reader.number(*object, at, "x", metres(engine::kDistanceRange), in.x)
        && reader.number(*object, at, "y", metres(engine::kPositionRange), in.y)
        && reader.heights(*object, at, in.heights, true) && reader.flag(*object, at, "indoor", in.indoor)
        && reader.flag(*object, at, "compact", in.compact) && reader.flag(*object, at, "screen", in.screen)
        && reader.number(*object, at, "hs", metres(engine::kScreenHeightRange), in.hs, false)
        && reader.number(*object, at, "xs", metres(engine::kScreenDistanceRange), in.xs, false)
        && reader.number(*object, at, "K", {engine::kEfficiencyRange.method, ""}, in.K, false)
        && reader.number(*object, at, "limit", {engine::kLimitRange.method, " kW/m²"}, calculation.limit,
                         false)
        && reader.flag(*object, at, "envelope", calculation.envelope);
}

bool readScreens(Reader &reader, const Json &storage, const std::string &at, engine::SiteStorage &out)
{
    const std::string path = keyPath(at, "screens");
    const Json *screens = reader.member(storage, at, "screens", false);
    if (!screens)
        return true;
    if (!reader.isArray(screens, path))
        return false;
    for (std::size_t i = 0; i < screens->size(); ++i) {
        const std::string here = indexPath(path, i);
        const Json &object = (*screens)[i];
        if (!reader.isObject(&object, here))
            return false;
        engine::FaceScreen screen;
        const Json *face = reader.member(object, here, "face", true);
        if (!face)
            return false;
        long long number = 0;
        if (!wholeNumber(*face, number) || number < 1 || number > 4)
            return reader.fail(keyPath(here, "face"), "moet 1, 2, 3 of 4 zijn");
        screen.face = int(number);
        if (engine::ScreenOf(out, screen.face))
            return reader.fail(keyPath(here, "face"),
                               "zijde " + std::to_string(screen.face) + " heeft al een afscherming");
        if (!reader.number(object, here, "hs", metres(engine::kScreenHeightRange), screen.hs)
            || !reader.number(object, here, "xs", metres(engine::kScreenDistanceRange), screen.xs)
            || !reader.number(object, here, "K", {engine::kEfficiencyRange.method, ""}, screen.K, false))
            return false;
        out.screens.push_back(screen);
    }
    return true;
}

bool readStorages(Reader &reader, const Json &site, engine::Site &out)
{
    const std::string path = "site.storages";
    const Json *storages = reader.member(site, "site", "storages", true);
    if (!reader.isArray(storages, path))
        return false;
    if (storages->empty())
        return reader.fail(path, "moet minstens één opslag bevatten");
    if (storages->size() > kMaximumStorages)
        return reader.fail(path, "ten hoogste " + std::to_string(kMaximumStorages) + " opslagen");
    std::set<std::string> names;
    for (std::size_t i = 0; i < storages->size(); ++i) {
        const std::string at = indexPath(path, i);
        const Json &object = (*storages)[i];
        if (!reader.isObject(&object, at))
            return false;
        engine::SiteStorage storage;
        const Json *corner = reader.member(object, at, "corner", true);
        if (!reader.string(object, at, "name", storage.name)
            || !reader.flag(object, at, "indoor", storage.indoor)
            || !reader.flag(object, at, "compact", storage.compact) || !corner
            || !reader.point(*corner, keyPath(at, "corner"), storage.corner)
            || !reader.number(object, at, "rotation", kRotation, storage.rotation, false)
            || !reader.number(object, at, "width", metres(engine::kWidthRange), storage.width)
            || !reader.number(object, at, "depth", metres(engine::kDepthRange), storage.depth)
            || !reader.number(object, at, "height", metres(engine::kHeightRange), storage.height)
            || !readScreens(reader, object, at, storage))
            return false;
        if (!storage.name.empty() && !names.insert(storage.name).second)
            return reader.fail(keyPath(at, "name"), "\"" + storage.name + "\" komt al voor");
        out.storages.push_back(storage);
    }
    return true;
}

bool readBoundary(Reader &reader, const Json &site, engine::Site &out)
{
    const std::string path = "site.boundary";
    const Json *boundary = reader.member(site, "site", "boundary", false);
    if (!boundary)
        return true;
    if (!reader.isArray(boundary, path))
        return false;
    if (boundary->empty())
        return reader.fail(path, "mag niet leeg zijn; laat de sleutel weg als er geen perceelgrens is");
    std::size_t points = 0;
    double length = 0;
    for (std::size_t p = 0; p < boundary->size(); ++p) {
        const std::string at = indexPath(path, p);
        const Json &line = (*boundary)[p];
        if (!reader.isArray(&line, at))
            return false;
        if (line.size() < 2)
            return reader.fail(at, "moet minstens 2 punten hebben");
        points += line.size();
        if (points > kMaximumBoundaryPoints)
            return reader.fail(path, "ten hoogste " + std::to_string(kMaximumBoundaryPoints) + " punten");
        std::vector<engine::SitePoint> polyline;
        for (std::size_t i = 0; i < line.size(); ++i) {
            engine::SitePoint point;
            if (!reader.point(line[i], indexPath(at, i), point))
                return false;
            if (!polyline.empty())
                length += std::hypot(point.x - polyline.back().x, point.y - polyline.back().y);
            polyline.push_back(point);
        }
        out.boundary.push_back(polyline);
    }
    if (length > kMaximumBoundaryLength)
        return reader.fail(path,
                           "is samen " + reader.text(std::round(length)) + " m lang; ten hoogste "
                               + reader.text(kMaximumBoundaryLength) + " m");
    return true;
}

bool readReceivers(Reader &reader, const Json &site, engine::Site &out)
{
    const std::string path = "site.receivers";
    const Json *receivers = reader.member(site, "site", "receivers", false);
    if (!receivers)
        return true;
    if (!reader.isArray(receivers, path))
        return false;
    if (receivers->size() > kMaximumReceivers)
        return reader.fail(path, "ten hoogste " + std::to_string(kMaximumReceivers) + " ontvangers");
    for (std::size_t i = 0; i < receivers->size(); ++i) {
        const std::string at = indexPath(path, i);
        const Json &object = (*receivers)[i];
        if (!reader.isObject(&object, at))
            return false;
        engine::SiteReceiver receiver;
        const Json *point = reader.member(object, at, "at", true);
        if (!reader.string(object, at, "name", receiver.name) || !point
            || !reader.point(*point, keyPath(at, "at"), receiver.at))
            return false;
        for (std::size_t s = 0; s < out.storages.size(); ++s) {
            if (engine::IsInside(out.storages[s], receiver.at))
                return reader.fail(keyPath(at, "at"), "ligt binnen " + engine::StorageLabel(out, int(s)));
        }
        out.receivers.push_back(receiver);
    }
    return true;
}

bool readSite(Reader &reader, const Json &root, Case &value)
{
    const Json *site = reader.member(root, "", "site", false);
    if (!site)
        return true;
    if (!reader.isObject(site, "site"))
        return false;
    engine::Site &out = value.site;
    out.heights = value.calculation.input.heights;
    out.limit = value.calculation.limit;
    out.envelope = value.calculation.envelope;
    value.hasSite = true;
    return reader.heights(*site, "site", out.heights, false)
        && reader.number(*site, "site", "limit", {engine::kLimitRange.method, " kW/m²"}, out.limit, false)
        && reader.flag(*site, "site", "envelope", out.envelope) && readStorages(reader, *site, out)
        && readBoundary(reader, *site, out) && readReceivers(reader, *site, out);
}

ReadResult refused(const std::string &error)
{
    ReadResult result;
    result.error = error;
    return result;
}

} // namespace

ReadResult ReadCase(std::string_view text, char decimalSeparator)
{
    if (text.size() > kMaximumSize)
        return refused("het bestand is groter dan " + std::to_string(kMaximumSize / (1024 * 1024))
                       + " MB; een zaakbestand is veel kleiner");
    if (text.empty())
        return refused("het bestand is leeg");
    const std::size_t invalid = detail::InvalidUtf8At(text);
    if (invalid != std::string_view::npos)
        return refused("geen UTF-8-tekst (byte " + std::to_string(invalid + 1) + ")");
    if (detail::NestsDeeperThan(text, kMaximumDepth))
        return refused("lijsten en objecten liggen dieper dan " + std::to_string(kMaximumDepth) + " niveaus");
    const Json root = Json::parse(text.begin(), text.end(), nullptr, false);
    if (root.is_discarded()) {
        std::size_t line = 0;
        std::size_t column = 0;
        detail::SyntaxErrorAt(text, line, column);
        return refused("geen geldige JSON (regel " + std::to_string(line) + ", kolom "
                       + std::to_string(column) + ")");
    }
    if (!root.is_object())
        return refused("moet een JSON-object {…} zijn");

    Reader reader(decimalSeparator);
    const Json *format = reader.member(root, "", "format", true);
    if (!format)
        return refused(reader.error());
    if (!format->is_string() || format->get_ref<const std::string &>() != kFormatName)
        return refused(std::string("format: moet \"") + kFormatName + "\" zijn; dit is geen zaakbestand");
    const Json *version = reader.member(root, "", "version", true);
    if (!version)
        return refused(reader.error());
    long long number = 0;
    if (!wholeNumber(*version, number) || number < 1)
        return refused("version: moet een geheel getal vanaf 1 zijn");
    if (number > kFormatVersion)
        return refused("version: versie " + std::to_string(number)
                       + " is nieuwer dan dit programma kan lezen (tot en met versie "
                       + std::to_string(kFormatVersion) + "); gebruik een nieuwere Warmtegloedvracht");

    ReadResult result;
    if (!readMeta(reader, root, result.value.meta) || !readCalculation(reader, root, result.value.calculation)
        || !readSite(reader, root, result.value))
        return refused(reader.error());
    result.value.document = root;
    result.ok = true;
    return result;
}

} // namespace casefile
