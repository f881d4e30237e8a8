#pragma once

// What both GDAL users here need: the drivers registered once, datasets that close
// themselves, and GDAL's messages kept quiet while we work, the last one ours to word.

#include <cpl_error.h>
#include <gdal_priv.h>

#include <memory>
#include <mutex>
#include <string>

namespace gis::detail {

inline void RegisterGdalDrivers()
{
    static std::once_flag once;
    std::call_once(once, [] { GDALAllRegister(); });
}

struct DatasetCloser
{
    void operator()(GDALDataset *dataset) const { GDALClose(GDALDataset::ToHandle(dataset)); }
};
using Dataset = std::unique_ptr<GDALDataset, DatasetCloser>;

// GDAL's own messages go nowhere while it lives; the last one explains a refusal.
class QuietGdalErrors
{
public:
    QuietGdalErrors()
    {
        CPLPushErrorHandler(CPLQuietErrorHandler);
        CPLErrorReset();
    }
    ~QuietGdalErrors() { CPLPopErrorHandler(); }
    QuietGdalErrors(const QuietGdalErrors &) = delete;
    QuietGdalErrors &operator=(const QuietGdalErrors &) = delete;

    // " (GDAL's last message)", or nothing when it said nothing.
    static std::string detail()
    {
        const std::string text = CPLGetLastErrorMsg();
        return text.empty() ? std::string() : " (" + text + ")";
    }
};

} // namespace gis::detail
