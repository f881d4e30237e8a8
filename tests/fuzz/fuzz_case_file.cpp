// libFuzzer harness: the case file reader from any bytes. A refusal is one non-empty line;
// an accepted case is written and read back to the same case and the same text, and its
// site, if any, gives a level (finite, not below zero) or a refusal with a message at the
// first receiver or boundary point. Any violation aborts, and the fuzzer keeps the input.

#include "case_file.h"
#include "fuzz_support.h"
#include "site.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using fuzz::require;

void checkSite(const engine::Site &site)
{
    engine::SitePoint probe;
    if (!site.receivers.empty())
        probe = site.receivers.front().at;
    else if (!site.boundary.empty())
        probe = site.boundary.front().front();
    else
        return;
    const engine::SiteLevel level = engine::SiteLevelAt(site, probe);
    if (!level.ok()) {
        require(!level.message.empty(), "a refused site level without a message");
        return;
    }
    if (level.inside)
        return;
    require(std::isfinite(level.level), "a site level that is not a number");
    require(level.level > -1e-6, "a site level below zero");
    require(!level.faces.empty(), "a level without a face");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const casefile::ReadResult read = casefile::ReadCase(text);
    if (!read.ok) {
        require(!read.error.empty(), "a refusal without a message");
        require(read.error.find('\n') == std::string::npos, "a refusal of more than one line");
        return 0;
    }
    const std::string written = casefile::WriteCase(read.value);
    const casefile::ReadResult again = casefile::ReadCase(written);
    require(again.ok, "a written case that does not read back");
    require(casefile::WriteCase(again.value) == written, "a case that changes when written again");
    require(again.value.site.storages.size() == read.value.site.storages.size(),
            "storages lost in a round trip");
    if (read.value.hasSite)
        checkSite(read.value.site);
    return 0;
}
