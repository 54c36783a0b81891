-- Inventory database, schema version 6: purchase orders.
--
-- An order (ORDENCOMPRA) asks one supplier for goods; its lines (ORDENCOMPRADETALLE)
-- are loaded into the receiving document, and printing that document refreshes
-- RECIBIDA from the received quantities of its lines. OBESERVACIONES keeps its
-- historic spelling.

CREATE TABLE ORDENCOMPRA (
    EMPRESA                 CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    PROVEEDOR               DOUBLE PRECISION,   -- NIT of the supplier
    FECHA                   TIMESTAMP,
    VENDEDOR                CHAR(40),
    SOLICITADOPOR           CHAR(40),
    OBESERVACIONES          CHAR(160),
    STATUS                  CHAR(1),
    FECHAENTREGA            TIMESTAMP,
    SUBTOTAL                DOUBLE PRECISION,
    DESCUENTO               DOUBLE PRECISION,
    IVA                     DOUBLE PRECISION,
    FLETES                  DOUBLE PRECISION,
    SEGUROS                 DOUBLE PRECISION,
    NETO                    DOUBLE PRECISION,
    REQUISICION             INTEGER,
    CENTROCOSTOS            CHAR(6),
    CEDULAELABORA           DOUBLE PRECISION,
    FECHAELABORA            TIMESTAMP,
    CEDULAAPRUEBA           DOUBLE PRECISION,
    FECHAAPRUEBA            TIMESTAMP,
    CCP                     INTEGER,
    CONSTRAINT PK_ORDENCOMPRA PRIMARY KEY (EMPRESA, CONSECUTIVO)
);

CREATE TABLE ORDENCOMPRADETALLE (
    EMPRESA                 CHAR(5) NOT NULL,
    CONSECUTIVO             INTEGER NOT NULL,
    LINEA                   INTEGER NOT NULL,
    PRODUCTO                INTEGER,
    CANTIDAD                DOUBLE PRECISION,
    RECIBIDA                DOUBLE PRECISION,
    OBESERVACIONES          CHAR(40),
    STATUS                  CHAR(1),
    PRECIOUNIDAD            DOUBLE PRECISION,
    DESCUENTO               DOUBLE PRECISION,
    SUBTOTAL                DOUBLE PRECISION,
    IVA                     DOUBLE PRECISION,
    VALORIVA                DOUBLE PRECISION,
    VALORDESCUENTO          DOUBLE PRECISION,
    UNIDADCOMPRA            CHAR(2),
    MASOBS                  CHAR(60),
    CONSTRAINT PK_ORDENCOMPRADETALLE PRIMARY KEY (EMPRESA, CONSECUTIVO, LINEA)
);

-- The receipt of an order finds its documents by order number.
CREATE INDEX IX_MOV_ORDENCOMPRASALIDA ON MOVIMIENTO (ORDENCOMPRASALIDA);
CREATE INDEX IX_ORDENCOMPRADET_PRODUCTO ON ORDENCOMPRADETALLE (EMPRESA, CONSECUTIVO, PRODUCTO);
