#pragma once
// A report is a declaration: its parameters, the query that gives one detail band per row, the
// lookups that complete it, and a layout of bands whose elements bind to values by name. One engine
// turns any declaration into pages (preview, printer, PDF) and into .xlsx, HTML and text, so adding a
// report means writing one of these, never a renderer.

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <utility>
#include <vector>

namespace report {

class BandValues;
class HookContext;

enum class Align { Left, Center, Right };

// Positions and sizes are millimetres from the top-left corner of the band (inside the margins).
struct Element {
    enum class Kind { Text, Field, Computed, PageNumber, PrintDate, Line, Barcode, Picture };

    Kind kind = Kind::Text;
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 4.5;
    QString text = {}; // Text: the text; PageNumber: what precedes the number ("Page ")
    QString name = {}; // Field, Barcode, Picture: the value shown (a column, total, lookup or hook value)
    QString mask = {}; // Field, Computed, PrintDate: numbers::formatValue mask
    Align align = Align::Left;
    bool bold = false;
    bool monospace = false;
    double fontSize = 0; // points; 0 takes the report's
    // Computed: the value of a label worked out from the band's values when it prints. It must
    // depend on those values only: rendering has no side effects, so a preview and the print match.
    std::function<QVariant(const BandValues&)> compute = {};
    QImage image = {}; // Picture without a name: a fixed picture (a logo)

    // Adjustments of a freshly made element: text(0, 20, "Total").strong().right().at(5).
    Element at(double top) && {
        y = top;
        return std::move(*this);
    }
    Element right() && {
        align = Align::Right;
        return std::move(*this);
    }
    Element centered() && {
        align = Align::Center;
        return std::move(*this);
    }
    Element strong() && {
        bold = true;
        return std::move(*this);
    }
    Element mono() && {
        monospace = true;
        return std::move(*this);
    }
    Element size(double points) && {
        fontSize = points;
        return std::move(*this);
    }
    Element tall(double h) && {
        height = h;
        return std::move(*this);
    }
};

Element text(double x, double width, const QString& text);
Element field(double x, double width, const QString& name, const QString& mask = {});
Element computed(double x, double width, std::function<QVariant(const BandValues&)> compute,
                 const QString& mask = {});
Element pageNumber(double x, double width, const QString& prefix = {});
Element printDate(double x, double width, const QString& mask = QStringLiteral("dd/mm/yyyy"));
Element line(double x, double width); // a horizontal rule at the element's y
Element barcode(double x, double width, double height, const QString& name);
Element picture(double x, double width, double height, const QString& name);
Element picture(double x, double width, double height, const QImage& image);

struct Band {
    double height = 0;
    std::vector<Element> elements = {};

    bool isEmpty() const { return height <= 0 && elements.empty(); }
};

// A group breaks when any of its columns changes value from one row to the next. Values are compared
// as values, never as text joined together, so ("1", "23") and ("12", "3") are different groups. A
// break of an outer group closes and reopens every inner group.
struct Group {
    QString name = {};
    QStringList columns = {};
    Band header = {};
    Band footer = {};
    bool repeatHeader = false; // print the header again on a page that continues the group
    bool newPage = false;      // start every instance on a new page
};

// Totals are worked out in the data pass, before anything prints, so a group header may show its
// group's total as well as the footer. A total restarts at each instance of its group (the whole
// report when the group is empty).
struct Total {
    enum class Kind {
        Sum,     // of a column over the group's rows
        Count,   // rows of the group (with a column: rows where it is not null)
        Running, // running sum: every detail band shows the sum up to and including its row
    };
    QString name = {};
    Kind kind = Kind::Sum;
    QString column = {};
    QString group = {};
};

struct Parameter {
    enum class Type { Text, Integer, Number, Date };
    QString name = {}; // bound to ":NAME" in the queries; fields read it as ":NAME"
    Type type = Type::Text;
    QString description = {};
    QVariant defaultValue = {}; // invalid: the parameter is required

    // Reads a typed value ("dd/mm/yyyy" or "yyyy-mm-dd" dates, numbers with "," and "."); on a bad
    // value returns an invalid QVariant and a Spanish error text.
    QVariant parse(const QString& text, QString* error) const;
};

// One of the fixed orders a report offers for its main query. The user picks it by its code; only
// the ORDER BY text written here in the declaration ever reaches the query.
struct Ordering {
    QString code;    // the value of the order parameter ("#")
    QString caption; // what a window shows for it under "Orden" ("Código")
    QString orderBy; // what follows ORDER BY ("GRUPOS.GRUPO")
};

// A query that completes the rows of the main query: run once before the data (group empty) or at
// every header of a group, with its ":NAME" markers bound from that header's values and from the
// parameters. The columns of its first row become values of the whole report or of that header.
struct Lookup {
    QString sql = {};
    QString group = {};
};

enum class BandKind {
    Title,
    PageHeader,
    ColumnHeader,
    GroupHeader,
    Detail,
    GroupFooter,
    Summary,
    PageFooter
};

// Called by the data pass for what a query cannot give (running balances with an opening value,
// values looked up per group, commission tiers). It sees the band being prepared and may set values
// on it; see HookContext.
using DataHook = std::function<void(HookContext&)>;

struct ReportDefinition {
    QString name;  // stable name for the registry, the command line and file names ("usuarios")
    QString title; // what the user reads ("USUARIOS DEL SISTEMA")
    std::vector<Parameter> parameters;
    QString sql; // one detail band per row, in the order the groups need
    // A report whose order the user chooses: `sql` has no ORDER BY, and the data pass appends the
    // ordering whose code is the value of the parameter `orderParameter` (declared in `parameters`).
    // A code that is not one of these is refused. Empty: `sql` carries its own order.
    std::vector<Ordering> orderings;
    QString orderParameter;
    std::vector<Lookup> lookups;

    Band titleBand;            // once, on the first page, under the page header
    Band pageHeader;           // every page
    Band columnHeader;         // every page, under the page header (and the title on the first page)
    std::vector<Group> groups; // outermost first
    Band detail;
    Band summary;    // once, after the last row
    Band pageFooter; // every page, at the bottom
    std::vector<Total> totals;
    DataHook hook;

    QPageSize::PageSizeId pageSize = QPageSize::Letter;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    double margin = 10; // millimetres, all four sides
    QString fontFamily = QStringLiteral("DejaVu Sans");
    double fontSize = 8; // points

    const Band& band(BandKind kind, int group = -1) const;
    const Parameter* parameter(const QString& name) const;
    const Ordering* ordering(const QString& code) const; // nullptr when no ordering has that code
    // Width and height of the printable area in millimetres, after orientation and margins.
    QSizeF contentSize() const;
};

} // namespace report
