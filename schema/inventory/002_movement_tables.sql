-- Inventory database, schema version 2: movement documents.
--
-- A document is a MOVIMIENTO header with MOVIMIENTODETALLE lines, identified by
-- (EMPRESA, DOCUMENTO, CONSECUTIVO), and a line adds LINEA. Numbers are the
-- highest stored plus one, read when the row is inserted, so the primary keys
-- are what turns two workstations taking the same number into an error instead
-- of a duplicate document.
--
-- Line quantities are signed (entries positive, issues negative), while
-- SUBTOTAL, VALORIVA and VALORDESCUENTO are stored without sign. Stock is never
-- stored: the balance views add up CANTIDAD.

-- Document header.
CREATE TABLE MOVIMIENTO (
    EMPRESA                 CHAR(5) NOT NULL,
    DOCUMENTO               CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    BODEGA                  INTEGER NOT NULL,
    FECHA                   TIMESTAMP,          -- every date filter uses this
    CLIENTE                 DOUBLE PRECISION,   -- NIT of the third party
    ORDENCOMPRASALIDA       INTEGER,            -- purchase order received against
    REMISION                INTEGER,
    FACTURA                 INTEGER,
    STATUS                  CHAR(1),            -- G created, L loaded, C closed, A active
    OBSERVACIONES           VARCHAR(160),
    SUBTOTAL                DOUBLE PRECISION,
    DESCUENTO               DOUBLE PRECISION,
    IVA                     DOUBLE PRECISION,
    NETO                    DOUBLE PRECISION,
    VENDEDOR                DOUBLE PRECISION,
    PLAZO                   INTEGER,
    SOLICITADOPOR           VARCHAR(60),
    FLETE                   DOUBLE PRECISION,
    DESPACHARA              VARCHAR(60),
    TERMINOS                VARCHAR(60),
    FORMAPAGO               VARCHAR(60),
    RETENCION               DOUBLE PRECISION,
    RETEICA                 DOUBLE PRECISION,
    RETEIVA                 DOUBLE PRECISION,
    MONEDA                  CHAR(5),
    TASA                    DOUBLE PRECISION,
    FECHAFACTURA            TIMESTAMP,
    RETENCION2              DOUBLE PRECISION,
    VENDEDEDOR              DOUBLE PRECISION,   -- unused second seller column, name kept as is
    CONSTRAINT PK_MOVIMIENTO PRIMARY KEY (EMPRESA, DOCUMENTO, CONSECUTIVO)
);

-- Document line. BODEGA is copied from the header whenever the line is posted,
-- so warehouse balances need not read the header.
CREATE TABLE MOVIMIENTODETALLE (
    EMPRESA                 CHAR(5) NOT NULL,
    DOCUMENTO               CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    LINEA                   INTEGER NOT NULL,
    PRODUCTO                INTEGER NOT NULL,
    CENTROCOSTOS            CHAR(6),
    CANTIDAD                DOUBLE PRECISION,   -- signed by its effect on stock
    PRECIOUNIDAD            DOUBLE PRECISION,
    PORCENTAJEDESCUENTO     DOUBLE PRECISION,
    VALORDESCUENTO          DOUBLE PRECISION,
    IVA                     DOUBLE PRECISION,   -- VAT percentage
    VALORIVA                DOUBLE PRECISION,
    SUBTOTAL                DOUBLE PRECISION,   -- never negative
    BODEGA                  INTEGER,
    DESCUENTO               DOUBLE PRECISION,   -- discount percentage
    UNIDADMOVIMIENTO        CHAR(2),
    UNIDADCOMPRA            CHAR(2),
    CANTIDADRECIBIDA        DOUBLE PRECISION,
    OBSERVACION             VARCHAR(60),
    SUBPRODUCTO             INTEGER,
    COSTO                   DOUBLE PRECISION,   -- unit cost when the line was posted
    CONSTRAINT PK_MOVIMIENTODETALLE PRIMARY KEY (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA)
);

-- Point-of-sale documents: written by the point-of-sale system, only read here.
-- Same layout as MOVIMIENTO.
CREATE TABLE POSMOVIMIENTO (
    EMPRESA                 CHAR(5) NOT NULL,
    DOCUMENTO               CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    BODEGA                  INTEGER NOT NULL,
    FECHA                   TIMESTAMP,
    CLIENTE                 DOUBLE PRECISION,
    ORDENCOMPRASALIDA       INTEGER,
    REMISION                INTEGER,
    FACTURA                 INTEGER,
    STATUS                  CHAR(1),
    OBSERVACIONES           VARCHAR(160),
    SUBTOTAL                DOUBLE PRECISION,
    DESCUENTO               DOUBLE PRECISION,
    IVA                     DOUBLE PRECISION,
    NETO                    DOUBLE PRECISION,
    VENDEDOR                DOUBLE PRECISION,
    PLAZO                   INTEGER,
    SOLICITADOPOR           VARCHAR(60),
    FLETE                   DOUBLE PRECISION,
    DESPACHARA              VARCHAR(60),
    TERMINOS                VARCHAR(60),
    FORMAPAGO               VARCHAR(60),
    RETENCION               DOUBLE PRECISION,
    RETEICA                 DOUBLE PRECISION,
    RETEIVA                 DOUBLE PRECISION,
    MONEDA                  CHAR(5),
    TASA                    DOUBLE PRECISION,
    FECHAFACTURA            TIMESTAMP,
    RETENCION2              DOUBLE PRECISION,
    VENDEDEDOR              DOUBLE PRECISION,
    CONSTRAINT PK_POSMOVIMIENTO PRIMARY KEY (EMPRESA, DOCUMENTO, CONSECUTIVO)
);

-- Point-of-sale lines: the MOVIMIENTODETALLE layout followed by three columns
-- of the point-of-sale system.
CREATE TABLE POSMOVIMIENTODETALLE (
    EMPRESA                 CHAR(5) NOT NULL,
    DOCUMENTO               CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    LINEA                   INTEGER NOT NULL,
    PRODUCTO                INTEGER NOT NULL,
    CENTROCOSTOS            CHAR(6),
    CANTIDAD                DOUBLE PRECISION,
    PRECIOUNIDAD            DOUBLE PRECISION,
    PORCENTAJEDESCUENTO     DOUBLE PRECISION,
    VALORDESCUENTO          DOUBLE PRECISION,
    IVA                     DOUBLE PRECISION,
    VALORIVA                DOUBLE PRECISION,
    SUBTOTAL                DOUBLE PRECISION,
    BODEGA                  INTEGER,
    DESCUENTO               DOUBLE PRECISION,
    UNIDADMOVIMIENTO        CHAR(2),
    UNIDADCOMPRA            CHAR(2),
    CANTIDADRECIBIDA        DOUBLE PRECISION,
    OBSERVACION             VARCHAR(60),
    SUBPRODUCTO             INTEGER,
    COSTO                   DOUBLE PRECISION,
    BUSCADOR                CHAR(25),
    STATUS                  CHAR(1),
    AUTORIZADB              DOUBLE PRECISION,
    CONSTRAINT PK_POSMOVIMIENTODETALLE PRIMARY KEY (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA)
);

-- Payments received against a document, numbered by ITEM within it.
CREATE TABLE MOVIMIENTOABONOS (
    EMPRESA                 CHAR(5) NOT NULL,
    DOCUMENTO               CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    ITEM                    INTEGER NOT NULL,
    FECHA                   TIMESTAMP,
    VALOR                   DOUBLE PRECISION,
    CONSTRAINT PK_MOVIMIENTOABONOS PRIMARY KEY (EMPRESA, DOCUMENTO, CONSECUTIVO, ITEM)
);
