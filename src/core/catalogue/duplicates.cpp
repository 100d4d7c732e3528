#include "core/catalogue/duplicates.h"

#include <algorithm>

#include "core/analysis/mp3analysis.h"
#include "core/catalogue/pages.h"

namespace zondari::catalogue {

void DuplicateFinder::add(const std::string& title, const TrackData& row)
{
    if (!row.fingerprint.empty())
        same_[row.fingerprint].push_back({title, row.entry});
    else if (row.audioBytes > 0)
        probable_[{row.audioBytes, row.seconds}].push_back({title, row.entry});
}

std::vector<DuplicateGroup> DuplicateFinder::groups() const
{
    std::vector<DuplicateGroup> groups;
    for (const auto& [fingerprint, copies] : same_)
        if (copies.size() > 1)
            groups.push_back({std::to_string(copies.size()) + " file, stessa impronta audio " + fingerprint, copies});
    for (const auto& [key, copies] : probable_)
        if (copies.size() > 1)
            groups.push_back({std::to_string(copies.size()) + " file, probabile (" + groupedNumber(key.first)
                    + " byte audio, " + mp3::durationText(key.second) + ")",
                copies});
    std::stable_sort(groups.begin(), groups.end(),
        [](const DuplicateGroup& a, const DuplicateGroup& b) { return a.copies.size() > b.copies.size(); });
    return groups;
}

std::string duplicatesPage(const std::vector<DuplicateGroup>& groups)
{
    std::string out;
    appendPageHead(out, std::string("Pagina HTML di Zondari - ") + kDuplicatesPageName);
    out += "<h1>Doppioni</h1>\r\n";
    for (const DuplicateGroup& g : groups) {
        out += "<p><b>" + htmlEscape(g.heading) + ":</b><br>\r\n";
        for (const DuplicateCopy& c : g.copies)
            out += "\"" + htmlEscape(displayText(c.title)) + "\" <a href=\"" + fileUrl(c.entry) + "\">"
                + htmlEscape(displayText(c.entry)) + "</a><br>\r\n";
        out += "</p>\r\n";
    }
    out += "</body>\r\n</html>\r\n";
    return out;
}

} // namespace zondari::catalogue
