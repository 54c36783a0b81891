#include "platform/report/Paginator.h"

#include "platform/report/ReportError.h"

namespace report {

namespace {

constexpr double kEpsilon = 1e-6;

class NoSink : public PageSink {
public:
    void beginPage(int) override {}
    void place(const Band&, int, double, int) override {}
    void endPage(int) override {}
};

} // namespace

int Paginator::pageCount() const {
    NoSink sink;
    return run(sink);
}

int Paginator::run(PageSink& sink, const ProgressFn& progress) const {
    const ReportDefinition& def = data_.definition();
    const std::vector<BandInstance>& bands = data_.bands();
    const int n = int(bands.size());
    const double bottom = def.contentSize().height() - def.pageFooter.height;

    int page = 0;
    double y = 0;
    double bodyTop = 0;
    bool dataOnPage = false; // a detail, footer or summary is on the page (group headers alone are not)
    int lastValues = 0;
    std::vector<int> openHeaders(def.groups.size(), -1);

    auto put = [&](const Band& layout, int values) {
        if (layout.isEmpty()) return;
        sink.place(layout, values, y, page);
        y += layout.height;
    };
    auto startPage = [&](int values) {
        sink.beginPage(++page);
        y = 0;
        put(def.pageHeader, values);
        if (page == 1) put(def.titleBand, 0);
        put(def.columnHeader, values);
        // A group that goes on over the page break is announced again where its header asks for it.
        for (size_t g = 0; g < openHeaders.size(); ++g)
            if (openHeaders[g] >= 0 && def.groups[g].repeatHeader) put(def.groups[g].header, openHeaders[g]);
        bodyTop = y;
        dataOnPage = false;
    };
    auto finishPage = [&] {
        if (!def.pageFooter.isEmpty()) sink.place(def.pageFooter, lastValues, bottom, page);
        sink.endPage(page);
    };

    startPage(n > 1 ? 1 : 0);
    for (int i = 1; i < n; ++i) {
        const BandInstance& b = bands[size_t(i)];
        const Band& layout = def.band(b.kind, b.group);
        if (!layout.isEmpty()) {
            // Keep a group header with the headers under it and the first row it announces.
            double needed = layout.height;
            if (b.kind == BandKind::GroupHeader) {
                int j = i + 1;
                for (; j < n && bands[size_t(j)].kind == BandKind::GroupHeader; ++j)
                    needed += def.band(BandKind::GroupHeader, bands[size_t(j)].group).height;
                if (j < n && bands[size_t(j)].kind == BandKind::Detail) needed += def.detail.height;
            }
            const bool wantsNewPage =
                b.kind == BandKind::GroupHeader && def.groups[size_t(b.group)].newPage && dataOnPage;
            const bool overflows = y + needed > bottom + kEpsilon && y > bodyTop + kEpsilon;
            if (wantsNewPage || overflows) {
                finishPage();
                startPage(i);
            }
            sink.place(layout, i, y, page);
            y += layout.height;
            lastValues = i;
            if (b.kind != BandKind::GroupHeader) dataOnPage = true;
        }
        if (b.kind == BandKind::GroupHeader) {
            openHeaders[size_t(b.group)] = i;
            for (size_t g = size_t(b.group) + 1; g < openHeaders.size(); ++g)
                openHeaders[g] = -1;
        } else if (b.kind == BandKind::GroupFooter) {
            openHeaders[size_t(b.group)] = -1;
        }
        if (progress && i % 256 == 0 && !progress({Progress::Stage::Rendering, i, n})) throw Cancelled();
    }
    finishPage();
    if (progress && !progress({Progress::Stage::Rendering, n, n})) throw Cancelled();
    return page;
}

} // namespace report
