#include "demo/DemoBuilder.h"

#include "demo/DemoCatalog.h"
#include "demo/DemoData.h"
#include "demo/DemoRandom.h"
#include "platform/numbers/Rounding.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <tuple>

namespace demo {

using namespace model;

namespace {

// Amounts are whole pesos, halves to the even neighbour, as the line rules round them.
double rounded(double v) {
    return numbers::roundHalfEven(v);
}
// Demo prices are made to look like shelf prices: multiples of 10 or 50 pesos.
double roundedTo(double v, double step) {
    return numbers::roundHalfEven(v / step) * step;
}
double roundedOneDecimal(double v) {
    return numbers::roundTo(v, 1);
}

QString text(const char* s) {
    return QString::fromUtf8(s);
}

enum class Task {
    Purchase,
    Sale,
    Issue,
    Return,
    DebitNote,
    ProductionIssue,
    ProductionEntry,
    Samples,
    Surplus,
    Shortage
};

struct Plan {
    int company;
    Task task;
    int day; // days before today
    int warehouse;
    int party;
    const char* type;
};

// Documents are made in date order against the stock each warehouse holds at that moment.
class Builder {
public:
    Builder(QDate today, double ownNit) : today_(today), ownNit_(ownNit) {}

    DemoSet build() {
        makeItems();
        makeParties();
        runPlans(makePlans());
        finishItems();
        finishParties();
        DemoSet set;
        set.today = today_;
        set.items = std::move(items_);
        set.parties = std::move(parties_);
        set.documents = std::move(documents_);
        set.lastNumbers = std::move(numbers_);
        return set;
    }

private:
    const CatalogDocumentType& type(const char* code) const {
        for (const auto& t : DemoCatalog::documentTypes())
            if (qstrcmp(t.code, code) == 0) return t;
        throw std::logic_error(std::string("no demo document type ") + code);
    }

    // --- items ------------------------------------------------------------------------------------

    void makeItems() {
        QSet<QString> names;
        for (const CatalogSubGroup& sg : DemoCatalog::subGroups()) {
            const CatalogGroup* group = nullptr;
            for (const auto& g : DemoCatalog::groups())
                if (qstrcmp(g.code, sg.group) == 0) group = &g;
            if (!group) throw std::logic_error("demo sub-group without group");
            for (const CatalogStem& stem : sg.stems) {
                for (const CatalogVariant& v : stem.variants) {
                    Item it;
                    it.number = int(items_.size()) + 1;
                    it.subGroup = &sg;
                    it.name = text(stem.name);
                    if (*v.text) it.name += QLatin1Char(' ') + text(v.text);
                    if (it.name.size() > 40 || names.contains(it.name))
                        throw std::logic_error("demo item name too long or repeated: " +
                                               it.name.toStdString());
                    names.insert(it.name);
                    it.unit = text(v.unit ? v.unit : stem.unit);
                    // Sold in the sub-group's unit of issue when there is a conversion into it.
                    it.issueUnit = sg.issueUnit && hasConversion(it.unit, text(sg.issueUnit))
                                       ? text(sg.issueUnit)
                                       : it.unit;
                    it.conversion = conversion(it.unit, it.issueUnit);
                    it.code = QStringLiteral("%1-%2-%3").arg(text(sg.group)).arg(sg.number).arg(it.number);
                    it.reference = QStringLiteral("SM%1%2")
                                       .arg(sg.number, 2, 10, QLatin1Char('0'))
                                       .arg(it.number, 4, 10, QLatin1Char('0'));
                    it.account = text(group->inventoryAccount);
                    it.cost =
                        std::max(10.0, roundedTo(stem.cost * v.costFactor * (0.97 + 0.06 * rng_.unit()), 10));
                    double price = it.stockCost() * (1.25 + 0.2 * rng_.unit());
                    if (it.vatIncluded()) price *= 1 + sg.vat / 100.0;
                    it.price = std::max(10.0, roundedTo(price, price < 2000 ? 10 : 50));
                    if (rng_.chance(0.65)) it.barcode = ean13(it.number);
                    if (it.unit == QLatin1String("UN") && sg.vatIncluded && rng_.chance(0.5)) addBreaks(it);
                    items_.push_back(it);
                }
            }
        }
    }

    static bool hasConversion(const QString& from, const QString& to) {
        for (const CatalogConversion& c : DemoCatalog::conversions())
            if (text(c.from) == from && text(c.to) == to) return true;
        return false;
    }

    static double conversion(const QString& from, const QString& to) {
        if (from == to) return 1;
        for (const CatalogConversion& c : DemoCatalog::conversions())
            if (text(c.from) == from && text(c.to) == to)
                return qstrcmp(c.op, "M") == 0 ? c.factor : 1 / c.factor;
        throw std::logic_error("no demo unit conversion from " + from.toStdString() + " to " +
                               to.toStdString());
    }

    // A 13-digit article number under an invented company prefix.
    static QString ean13(int item) {
        const QString digits = QStringLiteral("7707391%1").arg(item, 5, 10, QLatin1Char('0'));
        int sum = 0;
        for (int i = 0; i < 12; ++i)
            sum += (digits[i].unicode() - '0') * (i % 2 ? 3 : 1);
        return digits + QString::number((10 - sum % 10) % 10);
    }

    void addBreaks(Item& it) {
        const double unitCost = it.stockCost() * (it.vatIncluded() ? 1 + it.subGroup->vat / 100.0 : 1);
        auto add = [&](const char* unit, double quantity, double factor) {
            const double counter = roundedTo(it.price * factor, 10);
            it.breaks.push_back({text(unit), quantity, counter, roundedTo(counter * 0.97, 10),
                                 roundedOneDecimal((counter / unitCost - 1) * 100)});
        };
        add("UN", 1, 1);
        add("DC", 12, 0.94);
        add("CJ", 50, 0.88);
    }

    // --- third parties ----------------------------------------------------------------------------

    void makeParties() {
        QSet<qint64> used;
        static const char* firstNames[] = {"ANDRES", "CAMILA",   "FELIPE",  "JULIANA", "OSCAR",
                                           "PAOLA",  "MAURICIO", "NATALIA", "GUSTAVO", "ADRIANA"};
        static const char* surnames[] = {"RODRIGUEZ", "GOMEZ",  "MARTINEZ", "HERRERA", "SANCHEZ",
                                         "RAMIREZ",   "TORRES", "VARGAS",   "JIMENEZ", "CASTRO"};
        static const char* streets[] = {"CALLE", "CARRERA", "AVENIDA CALLE", "TRANSVERSAL", "DIAGONAL"};
        for (const CatalogParty& def : DemoCatalog::parties()) {
            Party p;
            p.def = &def;
            qint64 nit = 0;
            if (def.role == PartyRole::Own) {
                nit = qint64(ownNit_);
            } else if (QLatin1String(def.name) == QLatin1String("CONSUMIDOR FINAL")) {
                nit = 222222222222; // the number invoices give a buyer who is not identified
            } else {
                do {
                    if (!def.person)
                        nit = (rng_.chance(0.5) ? 800000000 : 900000000) + rng_.below(99999999);
                    else if (rng_.chance(0.6))
                        nit = (rng_.chance(0.5) ? 79000000 : 52000000) + rng_.below(999999);
                    else
                        nit = 1010000000 + rng_.below(99999999);
                } while (used.contains(nit) || nit == qint64(ownNit_));
            }
            used.insert(nit);
            p.nit = double(nit);

            p.address = QStringLiteral("%1 %2 # %3-%4")
                            .arg(text(streets[rng_.below(5)]))
                            .arg(rng_.between(1, 170))
                            .arg(rng_.between(1, 99))
                            .arg(rng_.between(2, 98));
            if (!def.person && rng_.chance(0.4))
                p.address += QStringLiteral(" BODEGA %1").arg(rng_.between(1, 12));
            if (def.person)
                p.phone = QStringLiteral("3%1 %2 %3")
                              .arg(rng_.between(0, 25), 2, 10, QLatin1Char('0'))
                              .arg(rng_.between(200, 999))
                              .arg(rng_.between(1000, 9999));
            else
                p.phone = QStringLiteral("(%1) %2 %3")
                              .arg(areaCode(def.city))
                              .arg(rng_.between(200, 899))
                              .arg(rng_.between(1000, 9999));
            const QStringList words = QString::fromUtf8(def.name).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (def.person) {
                p.contact = QString::fromUtf8(def.name);
                const QString surname = words.size() >= 3 ? words[words.size() - 2] : words.last();
                p.email = plain(words.first().left(1) + surname) + QString::number(rng_.between(10, 99)) +
                          QStringLiteral("@correoandino.com.co");
                p.birth = QDate(1960 + rng_.below(36), 1 + rng_.below(12), 1 + rng_.below(28));
            } else {
                p.contact =
                    text(firstNames[rng_.below(10)]) + QLatin1Char(' ') + text(surnames[rng_.below(10)]);
                QString slug;
                int taken = 0;
                for (const QString& w : words) {
                    if (w.size() <= 3 || w.contains(QLatin1Char('.'))) continue;
                    slug += w;
                    if (++taken == 2) break;
                }
                p.email = (def.role == PartyRole::Supplier ? QStringLiteral("ventas@")
                                                           : QStringLiteral("compras@")) +
                          plain(slug) + QStringLiteral(".com.co");
            }
            if (def.role == PartyRole::Own) {
                p.address = QStringLiteral("AVENIDA CARRERA 68 # 13-45 BODEGA 7");
                p.phone = QStringLiteral("(601) 742 3180");
                p.email = QStringLiteral("contacto@depositosanmateo.com.co");
            }
            p.zone = QStringLiteral("Z%1").arg(1 + cityIndex(def.city) % 4, 2, 10, QLatin1Char('0'));
            parties_.push_back(p);
        }
    }

    static int cityIndex(const char* city) {
        const auto& cities = DemoCatalog::cities();
        for (size_t i = 0; i < cities.size(); ++i)
            if (qstrcmp(cities[i].code, city) == 0) return int(i);
        return 0;
    }

    static QString areaCode(const char* city) {
        for (const CatalogCode& c : DemoCatalog::cities())
            if (qstrcmp(c.code, city) == 0) return text(c.name);
        return QStringLiteral("601");
    }

    // Lower case without accents, for e-mail addresses.
    static QString plain(const QString& s) {
        QString out;
        for (const QChar c : s.normalized(QString::NormalizationForm_D))
            if (c.isLetterOrNumber() && c.unicode() < 128) out += c.toLower();
        return out;
    }

    std::vector<int> partiesWith(PartyRole role) const {
        std::vector<int> out;
        for (size_t i = 0; i < parties_.size(); ++i)
            if (parties_[i].is(role)) out.push_back(int(i));
        return out;
    }

    // --- documents --------------------------------------------------------------------------------

    std::vector<Plan> makePlans() {
        std::vector<Plan> plans;
        const std::vector<int> suppliers = partiesWith(PartyRole::Supplier);
        auto heavy = [&](int party) { return parties_[size_t(party)].def->sells.front() <= 6; };

        // Opening stock: every supplier delivers to the main company, heavy materials to the yard.
        for (size_t i = 0; i < suppliers.size(); ++i) {
            const int p = suppliers[i];
            const bool person = parties_[size_t(p)].def->person;
            plans.push_back(
                {0, Task::Purchase, -90 + int(i), heavy(p) ? 2 : 1, p, person || i % 2 ? "EA" : "FC"});
            if (!heavy(p) && !person) plans.push_back({0, Task::Purchase, -74 + int(i) / 2, 3, p, "EA"});
        }
        // The branch buys a smaller range, from every other company supplier.
        int branchDay = -86;
        for (size_t i = 0; i < suppliers.size(); i += 2) {
            const int p = suppliers[i];
            if (parties_[size_t(p)].def->person) continue;
            plans.push_back({1, Task::Purchase, branchDay, 4, p, branchDay % 2 ? "EA" : "FC"});
            ++branchDay;
        }
        for (int day : {-45, -30, -15}) {
            const int p = suppliers[size_t(rng_.below(int(suppliers.size())))];
            plans.push_back({0, Task::Purchase, day, heavy(p) ? 2 : 1, p, "FC"});
        }

        auto some = [&](int company, Task task, int count, int from, int to, const char* code) {
            for (int i = 0; i < count; ++i)
                plans.push_back({company, task, rng_.between(from, to), 0, -1, code});
        };
        some(0, Task::Sale, 16, -65, 0, "FV");
        some(0, Task::Issue, 4, -60, -2, "SA");
        some(0, Task::Return, 2, -20, 0, "NC");
        some(0, Task::DebitNote, 1, -10, -1, "ND");
        some(0, Task::Samples, 2, -55, -5, "MU");
        some(0, Task::Surplus, 1, -8, -8, "AS");
        some(0, Task::Shortage, 1, -8, -8, "AF");
        for (int day : {-50, -25}) {
            plans.push_back({0, Task::ProductionIssue, day, 2, -1, "PS"});
            plans.push_back({0, Task::ProductionEntry, day, 2, -1, "PE"});
        }
        some(1, Task::Sale, 9, -75, 0, "FV");
        some(1, Task::Issue, 2, -60, -5, "SA");
        some(1, Task::Return, 1, -20, 0, "NC");
        some(1, Task::Samples, 1, -40, -10, "MU");
        some(1, Task::Surplus, 1, -6, -6, "AS");
        some(1, Task::Shortage, 1, -6, -6, "AF");

        // Within a day goods arrive before they leave, and production issues precede its entries.
        auto rank = [](Task t) {
            switch (t) {
            case Task::Purchase:
                return 0;
            case Task::ProductionIssue:
                return 1;
            case Task::ProductionEntry:
                return 2;
            case Task::Return:
            case Task::DebitNote:
                return 4;
            default:
                return 3;
            }
        };
        std::stable_sort(plans.begin(), plans.end(), [&](const Plan& a, const Plan& b) {
            return std::make_tuple(a.day, rank(a.task)) < std::make_tuple(b.day, rank(b.task));
        });
        return plans;
    }

    void runPlans(const std::vector<Plan>& plans) {
        for (const Plan& plan : plans) {
            Document d;
            d.company = plan.company;
            d.type = &type(plan.type);
            d.date = today_.addDays(plan.day);
            d.warehouse = plan.warehouse;
            d.party = plan.party;
            d.remark = text(d.type->note);
            switch (plan.task) {
            case Task::Purchase:
                purchase(d);
                break;
            case Task::Sale:
                sale(d);
                break;
            case Task::Return:
                creditNote(d);
                break;
            case Task::DebitNote:
                debitNote(d);
                break;
            case Task::Issue:
                issue(d, {19, 21, 22, 23, 24, 25, 9}, 5, d.company == 0 ? "100" : "500");
                break;
            case Task::Samples:
                issue(d, {7, 8}, 2, d.company == 0 ? "200" : "500");
                break;
            case Task::ProductionIssue:
                issue(d, {1, 2}, 30, "300");
                break;
            case Task::Shortage:
                issue(d, {}, 3, nullptr);
                break;
            case Task::ProductionEntry:
                productionEntry(d);
                break;
            case Task::Surplus:
                surplus(d);
                break;
            }
            if (d.lines.empty()) continue;
            post(d);
        }
    }

    // Numbers the document, moves the stock and remembers the entries that later costs average.
    void post(Document& d) {
        d.number = ++numbers_[{d.company, QString::fromUtf8(d.type->code)}];
        if (d.invoice == 0) d.invoice = d.number;
        for (Line& l : d.lines) {
            stock_[{d.company, d.warehouse, l.item}] += l.quantity;
            if (l.quantity > 0) entries_[{d.company, l.item}].push_back({d.date, l.quantity, l.subtotal});
        }
        documents_.push_back(d);
    }

    // Unit cost of the item's entries dated before the document, in its company; the price when
    // there are none or the cost would be below one peso.
    double costBefore(const Document& d, int item, double price) const {
        const auto it = entries_.find({d.company, item});
        double qty = 0, value = 0;
        if (it != entries_.end())
            for (const Entry& e : it->second)
                if (e.date < d.date) {
                    qty += e.quantity;
                    value += e.value;
                }
        const double cost = qty > 0 ? value / qty : price;
        return cost < 1 ? price : cost;
    }

    double stock(const Document& d, int item) const {
        const auto it = stock_.find({d.company, d.warehouse, item});
        return it == stock_.end() ? 0 : it->second;
    }

    // Distinct items of the given sub-groups (all when empty) that the document's warehouse holds.
    std::vector<int> inStock(const Document& d, const std::vector<int>& subGroups) const {
        std::vector<int> out;
        for (const Item& it : items_)
            if ((subGroups.empty() ||
                 std::find(subGroups.begin(), subGroups.end(), it.subGroup->number) != subGroups.end()) &&
                stock(d, it.number) >= 1)
                out.push_back(it.number);
        return out;
    }

    std::vector<int> choose(std::vector<int> from, int count) {
        std::vector<int> out;
        while (int(out.size()) < count && !from.empty()) {
            const size_t i = size_t(rng_.below(int(from.size())));
            out.push_back(from[i]);
            from.erase(from.begin() + qsizetype(i));
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    const Item& item(int number) const { return items_[size_t(number - 1)]; }
    Item& item(int number) { return items_[size_t(number - 1)]; }

    void purchase(Document& d) {
        const Party& supplier = parties_[size_t(d.party)];
        std::vector<int> candidates;
        for (const Item& it : items_)
            for (int sg : supplier.def->sells)
                if (it.subGroup->number == sg) candidates.push_back(it.number);
        d.invoice = rng_.between(1000, 98000);
        d.remission = rng_.between(100, 9900);
        for (int n : choose(candidates, d.company == 0 ? rng_.between(5, 10) : rng_.between(4, 7))) {
            Item& it = item(n);
            const double units = std::clamp(rounded(rng_.between(300000, 2000000) / it.cost), 3.0, 300.0);
            const double unitPrice = roundedTo(it.cost * (0.96 + 0.08 * rng_.unit()), 10);
            Line l;
            l.item = n;
            l.vat = it.subGroup->vat;
            l.subtotal = unitPrice * units;
            l.vatValue = l.vat > 0 && !supplier.def->person ? rounded(l.vat * l.subtotal / 100) : 0;
            // Received in the unit of issue, as the entry window converts it.
            l.quantity = units * it.conversion;
            l.price = rounded(unitPrice / it.conversion);
            l.unit = it.issueUnit;
            l.cost = qstrcmp(d.type->code, "FC") == 0 ? l.price : costBefore(d, n, l.price);
            it.lastSupplier = supplier.nit;
            d.lines.push_back(l);
        }
    }

    void sale(Document& d) {
        const std::vector<int> customers = partiesWith(PartyRole::Customer);
        d.party = rng_.chance(0.3) ? customers.front() : customers[size_t(rng_.below(int(customers.size())))];
        d.adviser = partiesWith(PartyRole::Adviser)[d.company == 0 ? size_t(rng_.below(2)) : 2];
        if (d.company == 0) {
            std::vector<int> stocked;
            for (int w : {1, 2, 3}) {
                d.warehouse = w;
                if (!inStock(d, {}).empty()) stocked.push_back(w);
            }
            if (stocked.empty()) return;
            d.warehouse = rng_.pick(stocked);
        } else {
            d.warehouse = 4;
        }
        const bool dealer =
            QLatin1String(parties_[size_t(d.party)].def->customerClass) == QLatin1String("03");
        for (int n : choose(inStock(d, {}), rng_.between(1, 6))) {
            const double available = stock(d, n);
            const double q = rng_.between(1, int(std::clamp(std::floor(available * 0.3), 1.0, 40.0)));
            double price = item(n).price;
            for (const PriceBreak& b : item(n).breaks)
                if (b.quantity <= q && b.counterPrice > 0) price = b.counterPrice;
            d.lines.push_back(saleLine(d, n, -q, price, dealer ? 10 : rng_.chance(0.2) ? 5 : 0));
        }
    }

    // Value, discount and VAT of a sale or a credit note, prices with VAT included split into base and tax.
    Line saleLine(const Document& d, int n, double quantity, double price, double discountPct) {
        const Item& it = item(n);
        Line l;
        l.item = n;
        l.quantity = quantity;
        l.price = price;
        l.unit = it.issueUnit;
        l.vat = it.subGroup->vat;
        l.subtotal = roundedOneDecimal(price * std::abs(quantity));
        l.discountPct = discountPct;
        l.discount = discountPct > 0 ? rounded(discountPct * l.subtotal / 100) : 0;
        const double net = l.subtotal - l.discount;
        if (l.vat > 0 && it.subGroup->vatIncluded) {
            const double base = rounded(net / (1 + l.vat / 100.0));
            l.vatValue = net - base;
            l.subtotal -= l.vatValue;
        } else if (l.vat > 0) {
            l.vatValue = rounded(l.vat * net / 100);
        }
        l.cost = costBefore(d, n, price);
        return l;
    }

    const Document* earlierSale(int company) {
        std::vector<const Document*> sales;
        for (const Document& x : documents_)
            if (x.company == company && qstrcmp(x.type->code, "FV") == 0) sales.push_back(&x);
        return sales.empty() ? nullptr : sales[size_t(rng_.below(int(sales.size())))];
    }

    void creditNote(Document& d) {
        const Document* sold = earlierSale(d.company);
        if (!sold) return;
        d.party = sold->party;
        d.adviser = sold->adviser;
        d.warehouse = sold->warehouse;
        d.remark += QStringLiteral(" FACTURA FV %1").arg(sold->number);
        const int count = std::min(int(sold->lines.size()), rng_.between(1, 2));
        for (int i = 0; i < count; ++i) {
            const Line& s = sold->lines[size_t(i)];
            const double q = rng_.between(1, int(-s.quantity));
            d.lines.push_back(saleLine(d, s.item, q, s.price, s.discountPct));
        }
    }

    void debitNote(Document& d) {
        const Document* sold = earlierSale(d.company);
        if (!sold) return;
        d.party = sold->party;
        d.adviser = sold->adviser;
        d.warehouse = sold->warehouse;
        d.remark += QStringLiteral(" FV %1").arg(sold->number);
        Line l;
        l.item = sold->lines.front().item;
        l.price = roundedTo(rng_.between(10000, 60000), 1000);
        l.subtotal = l.price;
        l.unit = item(l.item).issueUnit;
        l.note = QStringLiteral("FLETE NO FACTURADO EN FV %1").arg(sold->number);
        d.lines.push_back(l);
    }

    // Issues at cost: internal consumption, production, samples and count shortages.
    void issue(Document& d, const std::vector<int>& subGroups, int maxQuantity, const char* costCentre) {
        d.party = 0;
        if (d.warehouse == 0) d.warehouse = d.company == 0 ? (rng_.chance(0.5) ? 1 : 3) : 4;
        for (int n : choose(inStock(d, subGroups), rng_.between(1, 3) + (subGroups.size() > 2 ? 2 : 0))) {
            const double q =
                rng_.between(1, int(std::clamp(std::floor(stock(d, n) * 0.25), 1.0, double(maxQuantity))));
            Line l;
            l.item = n;
            l.quantity = -q;
            l.cost = costBefore(d, n, rounded(item(n).stockCost()));
            l.price = rounded(l.cost);
            l.subtotal = roundedOneDecimal(l.price * q);
            l.unit = item(n).issueUnit;
            if (costCentre) l.costCentre = text(costCentre);
            d.lines.push_back(l);
        }
    }

    void productionEntry(Document& d) {
        d.party = 0;
        std::vector<int> made;
        for (const Item& it : items_)
            if (it.name.startsWith(QLatin1String("BLOQUE DE CONCRETO")) ||
                it.name.startsWith(QLatin1String("ADOQUIN")))
                made.push_back(it.number);
        for (int n : choose(made, 2)) {
            Line l;
            l.item = n;
            l.quantity = rng_.between(10, 40) * 10;
            l.price = rounded(item(n).stockCost() * 0.9);
            l.subtotal = l.price * l.quantity;
            l.cost = costBefore(d, n, l.price);
            l.unit = item(n).issueUnit;
            d.lines.push_back(l);
        }
    }

    void surplus(Document& d) {
        d.party = 0;
        d.warehouse = d.company == 0 ? 1 : 4;
        for (int n : choose(inStock(d, {}), rng_.between(2, 3))) {
            Line l;
            l.item = n;
            l.quantity = rng_.between(1, 5);
            l.cost = costBefore(d, n, rounded(item(n).stockCost()));
            l.price = rounded(l.cost);
            l.subtotal = roundedOneDecimal(l.price * l.quantity);
            l.unit = item(n).issueUnit;
            d.lines.push_back(l);
        }
    }

    // The average cost of an item is that of all its entries; an item never bought keeps its cost.
    // Its suppliers quote it near its cost.
    void finishItems() {
        std::map<int, std::pair<double, double>> entered;
        for (const Document& d : documents_)
            for (const Line& l : d.lines)
                if (l.quantity > 0) {
                    entered[l.item].first += l.quantity;
                    entered[l.item].second += l.subtotal;
                }
        for (Item& it : items_) {
            const auto e = entered.find(it.number);
            it.averageCost =
                e != entered.end() ? rounded(e->second.second / e->second.first) : rounded(it.stockCost());
            it.minimum = std::clamp(rounded(150000 / it.stockCost()), 2.0, 200.0);
            for (const Party& p : parties_) {
                if (!p.is(PartyRole::Supplier)) continue;
                const auto& sells = p.def->sells;
                if (std::find(sells.begin(), sells.end(), it.subGroup->number) == sells.end()) continue;
                if (it.lastSupplier == 0) it.lastSupplier = p.nit;
                if (p.nit == it.lastSupplier || rng_.chance(0.3))
                    it.supplierPrices.emplace_back(p.nit,
                                                   roundedTo(it.cost * (0.97 + 0.08 * rng_.unit()), 10));
            }
        }
    }

    // Credit limits, and a building site for the first few company customers.
    void finishParties() {
        int sites = 0;
        for (Party& p : parties_) {
            if (!p.is(PartyRole::Customer)) continue;
            p.credit = p.def->person ? rng_.between(0, 30) * 100000.0 : rng_.between(5, 50) * 1000000.0;
            if (p.def->person || sites == 3) continue;
            ++sites;
            p.siteAddress = QStringLiteral("KM %1 VIA %2 LOTE %3")
                                .arg(rng_.between(2, 15))
                                .arg(text(p.def->city))
                                .arg(rng_.between(1, 40));
            p.sitePhone = QStringLiteral("31%1 %2 %3")
                              .arg(rng_.between(0, 9))
                              .arg(rng_.between(200, 999))
                              .arg(rng_.between(1000, 9999));
        }
    }

    struct Entry {
        QDate date;
        double quantity;
        double value;
    };

    const QDate today_;
    const double ownNit_;
    DemoRandom rng_{DemoData::kSeed};
    std::vector<Item> items_;
    std::vector<Party> parties_;
    std::vector<Document> documents_;
    std::map<std::pair<int, QString>, int> numbers_;
    std::map<std::tuple<int, int, int>, double> stock_;
    std::map<std::pair<int, int>, std::vector<Entry>> entries_;
};

} // namespace

DemoSet DemoBuilder::build(const QDate& today, double ownNit) {
    return Builder(today, ownNit).build();
}

} // namespace demo
