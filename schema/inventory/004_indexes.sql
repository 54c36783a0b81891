-- Inventory database, schema version 4: indexes for the hot paths.
--
-- The primary keys already serve every lookup of a document or a line by its
-- key, and the reading of the lines of a document in line order. What follows
-- serves the per-item balance and cost queries, the date-bounded reports and
-- the "highest number plus one" reads that number new rows.
--
-- Firebird answers MAX(x) by walking an index backwards only when the index is
-- DESCENDING, and an ascending primary key does not help MAX. Hence the
-- descending twins of some keys below.

-- Lines by item, company and warehouse. Every stock and cost query is per item
-- (SALDOS, SALDOSBODEGA, the cost-before-date sums, the kardex), and an item
-- has few lines compared with a company, so PRODUCTO leads.
CREATE INDEX IX_MOVDET_PRODUCTO_EMP_BODEGA ON MOVIMIENTODETALLE (PRODUCTO, EMPRESA, BODEGA);

-- Next line number of a document: SELECT MAX(LINEA) ... per document.
CREATE DESCENDING INDEX IX_MOVDET_LINEA_DESC ON MOVIMIENTODETALLE (EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA);

-- Headers by company, document type and date: movement and tax reports by
-- document type and period.
CREATE INDEX IX_MOV_EMP_DOC_FECHA ON MOVIMIENTO (EMPRESA, DOCUMENTO, FECHA);

-- Headers by date: period reports over all document types (and over all
-- companies where a report asks for that).
CREATE INDEX IX_MOV_FECHA ON MOVIMIENTO (FECHA);

-- Headers by third party: statements and commission reports per NIT, and the
-- invoice-number check per third party.
CREATE INDEX IX_MOV_EMP_CLIENTE ON MOVIMIENTO (EMPRESA, CLIENTE);

-- Receipts against a purchase order: order follow-up and the refresh of the
-- received quantities.
CREATE INDEX IX_MOV_EMP_ORDENCOMPRA ON MOVIMIENTO (EMPRESA, ORDENCOMPRASALIDA);

-- Next document number per company and type: SELECT MAX(CONSECUTIVO) ...
CREATE DESCENDING INDEX IX_MOV_CONSECUTIVO_DESC ON MOVIMIENTO (EMPRESA, DOCUMENTO, CONSECUTIVO);

-- Point-of-sale copies: the item window shows the sales of the day of each
-- item.
CREATE INDEX IX_POSMOVDET_PRODUCTO_EMP ON POSMOVIMIENTODETALLE (PRODUCTO, EMPRESA);
CREATE INDEX IX_POSMOV_FECHA ON POSMOVIMIENTO (FECHA);

-- Items: the scan window finds an item by its barcode, and the item lists open
-- at the last item number (MAX(PRODUCTO)).
CREATE INDEX IX_PRODUCTOS_CODIGOBARRAS ON PRODUCTOS (CODIGOBARRAS);
CREATE DESCENDING INDEX IX_PRODUCTOS_PRODUCTO_DESC ON PRODUCTOS (PRODUCTO);

-- Third parties: lookups and lists by name.
CREATE INDEX IX_PROVEEDORES_NOMBRE ON PROVEEDORES (NOMBRE);

-- Users: login finds the user by name, and the users window lists by name.
CREATE INDEX IX_USUARIOS_NOMBRE ON USUARIOS (NOMBRE);

-- Count cards: the count windows find the card of an item within a company, and
-- the card numbering reads the highest card of the company.
CREATE INDEX IX_TARJETAS_EMP_PRODUCTO ON TARJETASINVENTARIO (EMPRESA, PRODUCTO);
CREATE DESCENDING INDEX IX_TARJETAS_CONSECUTIVO_DESC ON TARJETASINVENTARIO (EMPRESA, CONSECUTIVO);
