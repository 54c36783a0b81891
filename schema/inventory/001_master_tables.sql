-- Inventory database, schema version 1: master tables.
--
-- Codes are fixed-width CHAR columns, and the client strips trailing blanks
-- when it reads them. Amounts, quantities, prices and NITs are DOUBLE
-- PRECISION. The database is created with UTF8 as its default character set, so
-- no column names a character set of its own.
--
-- No foreign keys: the maintenance windows check references themselves, and
-- historical movements must survive the removal of a master row.
--
-- Some column names carry old spellings (CUENTAINVANTARIO, AUTERRETENEDOR,
-- INDSELECION, ...). The program reads them by those names, so keep them.

-- Companies.
CREATE TABLE EMPRESAS (
    EMPRESA                 CHAR(5) NOT NULL,
    NOMBRE                  CHAR(40),
    CSCORDEN                INTEGER,          -- last purchase-order number
    NIT                     CHAR(15),
    TELEFONOS               CHAR(30),
    CIUDAD                  CHAR(30),
    FECHACORTE              TIMESTAMP,        -- cut-off date of the balance reports
    IVA                     INTEGER,
    EMPRESACONTABILIZA      CHAR(5),          -- company the ledger postings go to
    VIGENCIA                INTEGER,
    FECHAINICIAL            TIMESTAMP,
    FECHAFINAL              TIMESTAMP,
    CUENTARETENCIONC        CHAR(16),
    CUENTARETENCIONV        CHAR(16),
    AUTORETENEDORAIVA       CHAR(1),          -- S/N
    PORCENTAJEAUTORETEIVA   DOUBLE PRECISION,
    CUENTARETENCIONIVA      CHAR(16),
    LOGO                    BLOB SUB_TYPE BINARY,
    CONSTRAINT PK_EMPRESAS PRIMARY KEY (EMPRESA)
);

-- Item groups.
CREATE TABLE GRUPOS (
    GRUPO                   CHAR(2) NOT NULL,
    NOMBRE                  CHAR(40),
    CONSTRAINT PK_GRUPOS PRIMARY KEY (GRUPO)
);

-- Item sub-groups. One numbering for all groups: a sub-group number means the
-- same thing whatever group an item belongs to.
CREATE TABLE SUBGRUPOS (
    SUBGRUPO                INTEGER NOT NULL,
    NOMBRE                  CHAR(40),
    CUENTA                  CHAR(16),
    MODELO                  VARCHAR(10),
    CONSTRAINT PK_SUBGRUPOS PRIMARY KEY (SUBGRUPO)
);

-- Units of measure.
CREATE TABLE UNIDADES (
    UNIDAD                  CHAR(2) NOT NULL,
    NOMBRE                  CHAR(40),
    CONSTRAINT PK_UNIDADES PRIMARY KEY (UNIDAD)
);

-- Unit conversions: OPERADOR "D" divides by CANTIDAD, "M" multiplies by it.
CREATE TABLE UNIDADCONVERSION (
    CODIGOUNIDAD            CHAR(5) NOT NULL,
    CODIGOUNIDADRECIBIR     CHAR(5) NOT NULL,
    CANTIDAD                DOUBLE PRECISION,
    OPERADOR                CHAR(1),
    CONSTRAINT PK_UNIDADCONVERSION PRIMARY KEY (CODIGOUNIDAD, CODIGOUNIDADRECIBIR)
);

-- Cost centres.
CREATE TABLE CENTROCOSTOS (
    CENTROCOSTO             CHAR(6) NOT NULL,
    NOMBRE                  CHAR(40),
    AREA                    CHAR(3),
    EMPRESA                 CHAR(5),
    PRESUPUESTO             DOUBLE PRECISION,
    CONSTRAINT PK_CENTROCOSTOS PRIMARY KEY (CENTROCOSTO)
);

-- Warehouses.
CREATE TABLE BODEGAS (
    BODEGA                  INTEGER NOT NULL,
    NOMBRE                  CHAR(40),
    CONSTRAINT PK_BODEGAS PRIMARY KEY (BODEGA)
);

-- Currencies.
CREATE TABLE MONEDA (
    CODIGOMONEDA            CHAR(5) NOT NULL,
    DESCRIPCION             CHAR(40),
    CONSTRAINT PK_MONEDA PRIMARY KEY (CODIGOMONEDA)
);

-- Inventory account paired with its expense account.
CREATE TABLE CUENTAS (
    CUENTAINVANTARIO        CHAR(16) NOT NULL,
    CUENTAGASTO             CHAR(16) NOT NULL,
    OBSERVACION             CHAR(40),
    CONSTRAINT PK_CUENTAS PRIMARY KEY (CUENTAINVANTARIO)
);

-- Items. PRODUCTO is the number every movement refers to, and CODIGO is the
-- composite text GRUPO-SUBGRUPO-PRODUCTO. CANTIDADSTOK is not a stock counter:
-- stock is always the sum of the signed movement lines.
CREATE TABLE PRODUCTOS (
    CODIGO                  CHAR(12) NOT NULL,
    GRUPO                   CHAR(2) NOT NULL,
    SUBGRUPO                INTEGER NOT NULL,
    PRODUCTO                INTEGER NOT NULL,
    REFERENCIA              CHAR(20),
    NOMBRE                  CHAR(40),
    UNIDAD                  CHAR(2) NOT NULL,   -- unit of entry
    UNIDADS                 CHAR(2),            -- unit of issue
    UNIDADALMACEN           CHAR(2),
    VALORUNIDAD             DOUBLE PRECISION,   -- sale price
    CANTIDADSTOK            DOUBLE PRECISION,
    CANTIDADMINIMA          DOUBLE PRECISION,
    CANTIDADMAXIMA          DOUBLE PRECISION,
    PUNTOPEDIDO             DOUBLE PRECISION,
    ULTIMOPROVEEDOR         DOUBLE PRECISION,   -- NIT
    VALORPROMEDIO           DOUBLE PRECISION,   -- weighted average cost
    VALORIVA                DOUBLE PRECISION,   -- VAT percentage
    PRECIOCOMPRA            DOUBLE PRECISION,
    PRECIOMASIVA            CHAR(1),
    CANTIDADEMPACADA        DOUBLE PRECISION,
    CODIGOBARRAS            CHAR(25),
    TITULO                  CHAR(80),
    AUTOR                   CHAR(80),
    EDITORIAL               CHAR(80),
    TEMA                    CHAR(80),
    LOTE                    CHAR(40),
    AJUSTAINFLACION         CHAR(1),
    CUENTACONTABLE          CHAR(16),
    CUENTACONTABLEC         CHAR(16),
    CUENTACONTABLEV         CHAR(16),
    CUENTACONTABLEV1        CHAR(16),
    CUENTACONTABLEIVAC      CHAR(16),
    CUENTACONTABLEIVAV      CHAR(16),
    CUENTACONTABLECOSTO     CHAR(16),
    PROSACUENTADB           CHAR(16),
    PROSACUENTACR           CHAR(16),
    PROENCUENTADB           CHAR(16),
    PROENCUENTACR           CHAR(16),
    SALMCUENTADB            CHAR(16),
    SALMCUENTACR            CHAR(16),
    VALORUNIDADM            DOUBLE PRECISION,
    VALORUNIDADE            DOUBLE PRECISION,
    SOLICITAR               DOUBLE PRECISION,
    SOLICITARAQUIEN         DOUBLE PRECISION,   -- NIT
    CONSTRAINT PK_PRODUCTOS PRIMARY KEY (PRODUCTO)
);

-- The item window and the count windows find items by their text code.
CREATE UNIQUE INDEX IX_PRODUCTOS_CODIGO ON PRODUCTOS (CODIGO);

-- Lookups and alphabetical lists go by name. Not unique in the database: the
-- item window refuses duplicate names itself, and imported data may have them.
CREATE INDEX IX_PRODUCTOS_NOMBRE ON PRODUCTOS (NOMBRE);

-- Group and sub-group lists and reports.
CREATE INDEX IX_PRODUCTOS_GRUPO_SUBGRUPO ON PRODUCTOS (GRUPO, SUBGRUPO);

-- Components that make up an item.
CREATE TABLE PRODUCTOSSUB (
    PRODUCTO                INTEGER NOT NULL,
    SUBPRODUCTO             INTEGER NOT NULL,
    NOMBRE                  CHAR(40),
    CANTIDAD                DOUBLE PRECISION,
    CONSTRAINT PK_PRODUCTOSSUB PRIMARY KEY (PRODUCTO, SUBPRODUCTO)
);

-- Suppliers of an item and their price.
CREATE TABLE PRODUCTOSPROVEEDOR (
    PRODUCTO                INTEGER NOT NULL,
    PROVEEDOR               DOUBLE PRECISION NOT NULL,
    VALOR                   DOUBLE PRECISION,
    CONSTRAINT PK_PRODUCTOSPROVEEDOR PRIMARY KEY (PRODUCTO, PROVEEDOR)
);

-- Cost centres an item may be issued to.
CREATE TABLE PRODUCTOSCCOSTOS (
    PRODUCTO                INTEGER NOT NULL,
    CODIGOCOSTOS            CHAR(6) NOT NULL,
    CONSTRAINT PK_PRODUCTOSCCOSTOS PRIMARY KEY (PRODUCTO, CODIGOCOSTOS)
);

-- Sale prices of an item per packing unit.
CREATE TABLE PRODUCTOSVALORVENTA (
    PRODUCTO                INTEGER NOT NULL,
    UNIDAD                  CHAR(2) NOT NULL,
    CANTIDAD                DOUBLE PRECISION,
    VALORVENTAMOSTRADOR     DOUBLE PRECISION,
    VALORVENTAEMPRESA       DOUBLE PRECISION,
    IND                     DOUBLE PRECISION,
    CONSTRAINT PK_PRODUCTOSVALORVENTA PRIMARY KEY (PRODUCTO, UNIDAD)
);

-- Document types and the flags that drive entry, stock control and posting.
CREATE TABLE DOCUMENTOS (
    DOCUMENTO               CHAR(5) NOT NULL,
    NOMBRE                  CHAR(40),
    CODIGODOCUMENTO         VARCHAR(20),
    CONSECUTIVO             INTEGER,
    OPERADOR                CHAR(1),          -- S adds, R subtracts, N no quantity
    ENTRA                   CHAR(1),          -- kind of document
    CENTROCOSTOS            CHAR(1),
    ORDENCOMPRA             CHAR(1),
    CONTROLACCOSTOS         CHAR(1),
    CONTROLASALDO           CHAR(1),
    CONTROLSALDO            CHAR(1),
    SUBPRODUCTO             CHAR(1),
    CONTROLAPROVEEDOR       CHAR(1),
    CUENTAS                 CHAR(1),          -- S posts, N does not, I import
    CUENTACONTABLEV         CHAR(16),
    CUENTACONTABLEC         CHAR(16),
    CUENTACONTABLEI         CHAR(16),
    CUENTACONTABLECE        CHAR(16),
    CUENTACONTABLEIVAC      CHAR(16),
    MONEDA                  VARCHAR(5),
    INFORME                 INTEGER,          -- print layout number
    DOCUMENTOLEGALIZACION   CHAR(5),
    DOCUMENTOCR             CHAR(5),
    PREFIJO                 VARCHAR(5),
    RESOLUCIONFACTURACION   BLOB SUB_TYPE TEXT,
    PONDERADOR              DOUBLE PRECISION,
    CONSTRAINT PK_DOCUMENTOS PRIMARY KEY (DOCUMENTO)
);

-- Suppliers and customers (third parties) of the inventory database.
CREATE TABLE PROVEEDORES (
    NIT                     DOUBLE PRECISION NOT NULL,
    DV                      CHAR(1),
    TIPOTERCERO             CHAR(1),
    CLASETERCERO            CHAR(1),
    NOMBRE                  CHAR(40),
    CONTACTO                CHAR(40),
    DIRECCION               CHAR(40),
    TELEFONO                CHAR(20),
    FAX                     CHAR(10),
    CIUDAD                  CHAR(20),
    PAIS                    CHAR(20),
    EMAIL                   CHAR(60),
    CUPOCREDITO             DOUBLE PRECISION,
    CUPO                    DOUBLE PRECISION,
    AUTERRETENEDOR          CHAR(1),
    ICA                     CHAR(1),
    FECHACUMPLEANOS         CHAR(5),
    FECHANACIMIENTO         TIMESTAMP,
    NOTA                    CHAR(160),
    ZONA                    CHAR(5),
    SUBZONA                 CHAR(5),
    VENDEDOR                CHAR(5),
    COBRADOR                CHAR(5),
    SUPERVISOR              CHAR(5),
    CUENTACONTABLEC         CHAR(16),
    CUENTACONTABLEV         CHAR(16),
    PADRE                   DOUBLE PRECISION,
    ABUELO                  DOUBLE PRECISION,
    BLOQUEO                 CHAR(1),
    CLASECLIENTE            CHAR(2),
    CONDICION               CHAR(2),
    DESCUENTOAUT            DOUBLE PRECISION,
    CONSTRAINT PK_PROVEEDORES PRIMARY KEY (NIT)
);

-- Further addresses of a third party.
CREATE TABLE TERCEROSDIRECCIONES (
    NIT                     DOUBLE PRECISION NOT NULL,
    NUMERODIRECCION         INTEGER NOT NULL,
    CONTACTO                CHAR(40),
    DIRECCION               CHAR(40),
    TELEFONO                CHAR(20),
    FAX                     CHAR(10),
    CIUDAD                  CHAR(20),
    PAIS                    CHAR(20),
    EMAIL                   CHAR(60),
    CONSTRAINT PK_TERCEROSDIRECCIONES PRIMARY KEY (NIT, NUMERODIRECCION)
);

-- Users. ACTIVO is the user type (1, 2, 3, 4 or T).
CREATE TABLE USUARIOS (
    CODIGO                  INTEGER NOT NULL,
    NOMBRE                  CHAR(30),
    CLAVE                   CHAR(20),
    ACTIVO                  CHAR(1),
    FECHAHORA               TIMESTAMP,
    FECHAVENCIMIENTO        TIMESTAMP,
    CONSTRAINT PK_USUARIOS PRIMARY KEY (CODIGO)
);

-- Menu permissions, one row per user. CODIGOUSUARIO is nullable here, so the
-- one-row-per-user rule is a unique index rather than a primary key (a unique
-- index still admits rows without a user).
CREATE TABLE MENU (
    CODIGOUSUARIO           INTEGER,
    OPCIONES                CHAR(200)
);

CREATE UNIQUE INDEX IX_MENU_CODIGOUSUARIO ON MENU (CODIGOUSUARIO);

-- Menu rows. NUMEROPROGRAMA gives the order in which the menu is built.
CREATE TABLE PROGRAMAS (
    NUMEROPROGRAMA          DOUBLE PRECISION NOT NULL,
    DESCRIPCION             CHAR(40),
    OBSERVACION             BLOB SUB_TYPE TEXT,
    INDIMAGEN               SMALLINT,
    INDSELECION             SMALLINT,
    NIVEL                   INTEGER,
    PROGRAMA                INTEGER,
    CONSTRAINT PK_PROGRAMAS PRIMARY KEY (NUMEROPROGRAMA)
);

-- Company profile printed in report headers: a single row, keyed by its NIT.
CREATE TABLE REGISTRO (
    NIT                     DOUBLE PRECISION NOT NULL,
    NOMBRE                  CHAR(40),
    DIRECCION               CHAR(40),
    TELEFONOS               CHAR(30),
    EMAIL                   CHAR(60),
    LOGO                    BLOB SUB_TYPE BINARY,
    CONSTRAINT PK_REGISTRO PRIMARY KEY (NIT)
);

-- Audit log. Append-only and unkeyed: several entries may share a user and a
-- moment.
CREATE TABLE LOG (
    CODIGOUSUARIO           INTEGER NOT NULL,
    FECHA                   TIMESTAMP NOT NULL,
    ACCION                  VARCHAR(128)
);
