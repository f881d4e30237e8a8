#pragma once

// The case file (".warmtegloed"): one calculation as the classic window holds it, the
// names a report needs, and optionally a site with several storages, its boundary and
// receivers. UTF-8 JSON, read and written here only, by the command line, the exploration
// window and the web edition alike. Plain C++17 with nlohmann-json and no exceptions
// (the web edition builds without them): nothing here throws, every refusal is one
// Dutch line that names the key ("site.storages[1].width: moet groter zijn dan 0 m";
// list positions count from 0, as jq counts them).
//
// Unknown keys, and the order of the keys, survive a read and a write: a case saved by a
// newer program, or annotated by hand, loses nothing that this program does not change.

#include "calculate.h"
#include "site.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <string_view>

namespace casefile {

inline constexpr const char *kFormatName = "warmtegloed-case";
inline constexpr int kFormatVersion = 1;
// Larger files are refused before they are parsed.
inline constexpr std::size_t kMaximumSize = 2 * 1024 * 1024;
// Arrays and objects nested deeper than this are refused (a case needs four levels).
inline constexpr int kMaximumDepth = 64;
// What a site may hold, so that every computation on it stays bounded.
inline constexpr std::size_t kMaximumStorages = 100;
inline constexpr std::size_t kMaximumReceivers = 1000;
inline constexpr std::size_t kMaximumBoundaryPoints = 100000;
inline constexpr double kMaximumBoundaryLength = 20000; // m, all polylines together
inline constexpr double kMaximumCoordinate = 10000000;  // m, either way from the origin
inline constexpr double kMaximumRotation = 360;         // degrees, either way

// The names a report of the case shows. Empty fields are left out of a new file.
struct Meta
{
    std::string title;
    std::string establishment; // "inrichting"
    std::string address;
    std::string author;
    std::string notes;
    std::string date; // as the user writes it, e.g. "2024-05-01"
};

// What the classic window holds: one storage, its points, and the limit question.
struct Calculation
{
    engine::CalculationInput input;
    double limit = 15; // kW/m²
    bool envelope = false;
};

struct Case
{
    Meta meta;
    Calculation calculation;
    bool hasSite = false;
    engine::Site site;
    // The file as it was read (an empty object for a new case): the writer lays the
    // values above over it, so that whatever it does not know stays. A program that
    // removes a storage or receiver removes it here too (RemoveStorage, RemoveReceiver).
    nlohmann::ordered_json document = nlohmann::ordered_json::object();
};

struct ReadResult
{
    bool ok = false;
    std::string error; // one Dutch line without the file's name
    Case value;
};

// Reads a case from the file's bytes. Numbers in messages use `decimalSeparator`.
ReadResult ReadCase(std::string_view text, char decimalSeparator = '.');

// The case as the file's text: UTF-8 JSON, two spaces per level, short lists on one
// line, a newline at the end. Reading it back gives the same case.
std::string WriteCase(const Case &value);

// Removes storage `index` (receiver `index`) from the case and from its document.
void RemoveStorage(Case &value, std::size_t index);
void RemoveReceiver(Case &value, std::size_t index);

} // namespace casefile
