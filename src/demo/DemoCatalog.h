#pragma once
// The fixed tables of the demonstration data: a hardware and building-supplies trade with its
// groups, items, document types, third parties and users. DemoData turns them into rows.

#include <vector>

namespace demo {

struct CatalogCode {
    const char* code;
    const char* name;
};

struct CatalogGroup {
    const char* code;
    const char* name;
    const char* inventoryAccount; // PRODUCTOS.CUENTACONTABLE of its items
};

// One sold size or colour of a stem; the item's name is the stem's name followed by the text.
struct CatalogVariant {
    const char* text;
    double costFactor;          // cost relative to the stem's first variant
    const char* unit = nullptr; // when the variant is sold in another unit than the stem
};

struct CatalogStem {
    const char* name;
    const char* unit;
    int cost; // purchase cost in pesos of the first variant
    std::vector<CatalogVariant> variants;
};

struct CatalogSubGroup {
    int number;
    const char* group;
    const char* name;
    int vat;               // VAT percentage of its items
    bool vatIncluded;      // sale prices include VAT (PRECIOMASIVA "S")
    const char* issueUnit; // UNIDADS when items are issued in another unit than bought, else null
    std::vector<CatalogStem> stems;
};

struct CatalogConversion {
    const char* from;
    const char* to;
    double factor;
    const char* op; // "M" multiplies, "D" divides
};

struct CatalogWarehouse {
    int number;
    const char* name;
};

struct CatalogCostCentre {
    const char* code;
    const char* name;
    const char* area;
    const char* company;
    double budget;
};

struct CatalogAccountPair {
    const char* inventory;
    const char* expense;
    const char* note;
};

struct CatalogDocumentType {
    const char* code;
    const char* name;
    const char* op;   // OPERADOR
    const char* kind; // ENTRA
    bool costCentre;  // CENTROCOSTOS
    bool balanceControl;
    bool supplierControl;
    const char* posts; // CUENTAS
    const char* account;
    const char* vatAccount; // null when the type carries no VAT
    int layout;             // INFORME
    const char* note;       // OBSERVACIONES of its demo documents
};

enum class PartyRole { Own, Supplier, Customer, Adviser };

struct CatalogParty {
    const char* name;
    PartyRole role;
    bool person;            // natural person ("P") or company ("C")
    std::vector<int> sells; // sub-groups a supplier sells
    const char* city;
    const char* customerClass; // "01" general, "02" government, "03" dealers
};

struct CatalogUser {
    int code;
    const char* name;
    const char* password;
    const char* type;                       // USUARIOS.ACTIVO
    std::vector<const char*> hiddenModules; // menu module texts the user does not see
};

class DemoCatalog {
public:
    static const std::vector<CatalogGroup>& groups();
    static const std::vector<CatalogSubGroup>& subGroups();
    static const std::vector<CatalogCode>& units();
    static const std::vector<CatalogConversion>& conversions();
    static const std::vector<CatalogWarehouse>& warehouses();
    static const std::vector<CatalogCostCentre>& costCentres();
    static const std::vector<CatalogCode>& currencies();
    static const std::vector<CatalogAccountPair>& accountPairs();
    static const std::vector<CatalogDocumentType>& documentTypes();
    static const std::vector<CatalogParty>& parties();
    static const std::vector<CatalogUser>& users();
    static const std::vector<CatalogCode>& cities(); // city and its phone area code
};

} // namespace demo
