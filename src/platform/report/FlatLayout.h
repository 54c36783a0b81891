#pragma once
// A report read as one long page, the way the exports lay it out: page header, title, column header,
// the data bands and the page footer once each, the page number being 1. Each band is cut into
// lines: its elements grouped by their top, left to right.

#include "platform/report/ReportData.h"

#include <QHash>
#include <functional>
#include <vector>

namespace report {

class FlatLayout {
public:
    using Line = std::vector<const Element*>;

    explicit FlatLayout(const ReportData& data);

    // Calls visit with the lines of each printed band and the band whose values they show.
    void forEach(const std::function<void(const std::vector<Line>& lines, int valuesBand)>& visit) const;
    // Every element of every band of the declaration.
    std::vector<const Element*> elements() const;

private:
    const std::vector<Line>& lines(const Band& band) const;

    const ReportData& data_;
    mutable QHash<const Band*, std::vector<Line>> lines_;
};

} // namespace report
