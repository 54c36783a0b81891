#include "platform/report/FlatLayout.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace report {

FlatLayout::FlatLayout(const ReportData& data) : data_(data) {}

const std::vector<FlatLayout::Line>& FlatLayout::lines(const Band& band) const {
    auto it = lines_.find(&band);
    if (it != lines_.end()) return it.value();
    std::map<long, Line> byTop; // tenths of a millimetre, so 4.5 and 4.50001 share a line
    for (const Element& e : band.elements)
        byTop[std::lround(e.y * 10)].push_back(&e);
    std::vector<Line> out;
    for (auto& [top, line] : byTop) {
        std::stable_sort(line.begin(), line.end(),
                         [](const Element* a, const Element* b) { return a->x < b->x; });
        out.push_back(std::move(line));
    }
    return lines_.insert(&band, std::move(out)).value();
}

void FlatLayout::forEach(const std::function<void(const std::vector<Line>&, int)>& visit) const {
    const ReportDefinition& def = data_.definition();
    const auto& bands = data_.bands();
    const int n = int(bands.size());
    const int firstData = n > 1 ? 1 : 0;
    auto put = [&](const Band& layout, int values) {
        if (!layout.isEmpty()) visit(lines(layout), values);
    };
    put(def.pageHeader, firstData);
    put(def.titleBand, 0);
    put(def.columnHeader, firstData);
    int last = 0;
    for (int i = 1; i < n; ++i) {
        const BandInstance& b = bands[size_t(i)];
        const Band& layout = def.band(b.kind, b.group);
        if (layout.isEmpty()) continue;
        put(layout, i);
        last = i;
    }
    put(def.pageFooter, last);
}

std::vector<const Element*> FlatLayout::elements() const {
    const ReportDefinition& def = data_.definition();
    std::vector<const Band*> bands = {&def.pageHeader, &def.titleBand, &def.columnHeader,
                                      &def.detail,     &def.summary,   &def.pageFooter};
    for (const Group& g : def.groups) {
        bands.push_back(&g.header);
        bands.push_back(&g.footer);
    }
    std::vector<const Element*> out;
    for (const Band* b : bands)
        for (const Element& e : b->elements)
            out.push_back(&e);
    return out;
}

} // namespace report
