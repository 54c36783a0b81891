#pragma once
// The demonstration data set as DemoBuilder makes it in memory and DemoWriter stores it: items, third
// parties and documents with the values their rows carry.

#include "demo/DemoCatalog.h"

#include <QDate>
#include <QString>
#include <map>
#include <utility>
#include <vector>

namespace demo::model {

struct PriceBreak {
    QString unit;
    double quantity;
    double counterPrice;
    double companyPrice;
    double index;
};

struct Item {
    int number = 0;
    const CatalogSubGroup* subGroup = nullptr;
    QString code, name, unit, issueUnit, reference, barcode, account;
    double conversion = 1; // issue units per purchase unit
    double cost = 0;       // per purchase unit
    double price = 0;      // sale price per issue unit
    std::vector<PriceBreak> breaks;
    double lastSupplier = 0; // NIT of the supplier of the latest entry, or of one that sells it
    double averageCost = 0;  // per issue unit, over all its entries
    double minimum = 0;      // stock below which it is reordered
    std::vector<std::pair<double, double>> supplierPrices; // NIT and price

    double stockCost() const { return cost / conversion; }
    bool vatIncluded() const { return subGroup->vatIncluded && subGroup->vat > 0; }
};

struct Party {
    const CatalogParty* def = nullptr;
    double nit = 0;
    QString address, phone, email, contact, zone;
    QDate birth;
    double credit = 0;
    QString siteAddress, sitePhone; // a building site deliveries go to, for some customers

    bool is(PartyRole role) const { return def->role == role; }
};

struct Line {
    int item = 0;
    double quantity = 0; // signed by the effect on stock
    double price = 0;
    double discountPct = 0;
    double discount = 0;
    int vat = 0;
    double vatValue = 0;
    double subtotal = 0;
    QString costCentre;
    double cost = -1; // no cost on a line without quantity
    QString unit;
    QString note;
};

struct Document {
    int company = 0;
    const CatalogDocumentType* type = nullptr;
    int number = 0;
    int warehouse = 0;
    QDate date;
    int party = 0;
    int adviser = -1;
    int invoice = 0;
    int remission = 0;
    QString remark;
    std::vector<Line> lines;
};

struct DemoSet {
    QDate today;
    std::vector<Item> items;                            // item n at index n - 1
    std::vector<Party> parties;                         // the installation's own company first
    std::vector<Document> documents;                    // in date order
    std::map<std::pair<int, QString>, int> lastNumbers; // per company index and document type
};

// Company code of a company index.
inline QString companyCode(int company) {
    return company == 0 ? QStringLiteral("01") : QStringLiteral("02");
}

} // namespace demo::model
