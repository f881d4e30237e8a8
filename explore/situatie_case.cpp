#include "situatie_case.h"

namespace explore {

bool SituatieFromCase(const casefile::Case &value, const QString &caseFolder, SituatieState &state,
                      QString &error)
{
    SituatieState read;
    read.hasSite = value.hasSite;
    if (value.hasSite) {
        read.site = value.site;
        const auto site = value.document.find("site");
        if (site != value.document.end() && !ReadUnderlay(*site, caseFolder, read.underlay, error))
            return false;
    }
    state = read;
    return true;
}

void SituatieIntoCase(const SituatieState &state, const QString &caseFolder, casefile::Case &value)
{
    value.hasSite = state.hasSite;
    if (!state.hasSite)
        return;
    value.site = state.site;
    nlohmann::ordered_json &document = value.document;
    if (!document.is_object())
        document = nlohmann::ordered_json::object();
    nlohmann::ordered_json &site = document["site"];
    if (!site.is_object())
        site = nlohmann::ordered_json::object();
    WriteUnderlay(site, state.underlay, caseFolder);
}

} // namespace explore
