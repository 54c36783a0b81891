-- Inventory database, schema version 3: physical count.

-- Count cards, numbered 1..n within a company each time the cards are prepared.
-- Up to three counts per card, and CONTEOS is the last one typed.
CREATE TABLE TARJETASINVENTARIO (
    EMPRESA                 CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    FECHA                   TIMESTAMP,
    CODIGO                  CHAR(12),           -- PRODUCTOS.CODIGO
    PRODUCTO                INTEGER,
    UNIDAD                  CHAR(2),
    SALDO                   DOUBLE PRECISION,   -- book balance at preparation
    VALORUNITARIO           DOUBLE PRECISION,
    RESPONSABLE1            CHAR(20),
    RESPONSABLE2            CHAR(20),
    RESPONSABLE3            CHAR(20),
    CANTIDAD1               DOUBLE PRECISION,
    CANTIDAD2               DOUBLE PRECISION,
    CANTIDAD3               DOUBLE PRECISION,
    CODIGOUSUARIO1          CHAR(6),
    CODIGOUSUARIO2          CHAR(6),
    CODIGOUSUARIO3          CHAR(6),
    CONTEOS                 INTEGER,
    AJUSTE                  DOUBLE PRECISION,
    FECHAAJUSTE             TIMESTAMP,
    AUTORIZACION            INTEGER,
    CONSTRAINT PK_TARJETASINVENTARIO PRIMARY KEY (EMPRESA, CONSECUTIVO)
);

-- Scanned units: one row per unit counted, so it has no natural key.
CREATE TABLE TOMAINVENTARIO (
    EMPRESA                 CHAR(5),
    BODEGA                  INTEGER,
    CODIGOBARRAS            CHAR(25),
    PRODUCTO                INTEGER NOT NULL,
    FECHA                   TIMESTAMP,          -- moment of the scan
    USUARIO                 INTEGER
);

-- The scan totals are counted per company and item (SALDOSINVENTARIOS).
CREATE INDEX IX_TOMAINVENTARIO_EMP_PRODUCTO ON TOMAINVENTARIO (EMPRESA, PRODUCTO);
