-- Inventory database, schema version 5: derived views.
--
-- Stock is never stored. Every balance here is the sum of the signed line
-- quantities (entries positive, issues negative), over the lines of every
-- document type: the sign made by the entry windows is the whole truth, so no
-- view looks at DOCUMENTOS.
--
-- Line views are one row per MOVIMIENTODETALLE row joined with its MOVIMIENTO
-- header: CANTIDAD and SUBTOTAL are the values stored on the line (quantity
-- signed, value unsigned), FECHA is the date of the header, NIT is the CLIENTE
-- of the header and BODEGA is the warehouse of the line. A line without a
-- header does not appear.
--
-- Views that add item attributes join PRODUCTOS with a LEFT JOIN so that a line
-- whose item row is missing still counts, with null item columns.
--
-- The hot readers filter these views by company and item (and date). The grouped
-- views group by their key columns only, so Firebird moves such filters inside
-- the aggregate and reads the lines through IX_MOVDET_PRODUCTO_EMP_BODEGA
-- instead of summing the whole table.
--
-- Column lists are explicit and hold what the readers select, nothing more:
-- report statements join these views with master tables and name many columns
-- unqualified, so an extra column could make such a name ambiguous.

-- One row per group and sub-group pair with the inventory account of its items.
-- Read only, derived from PRODUCTOS so it can never drift.
CREATE VIEW PRODUCTOPUCCUENTA (GRUPO, SUBGRUPO, CUENTACONTABLE) AS
SELECT DISTINCT P.GRUPO, P.SUBGRUPO, P.CUENTACONTABLE
  FROM PRODUCTOS P;

-- All document lines with the date and third party of their header. The source
-- of most movement, tax and sales reports.
CREATE VIEW MOVIMIENTOGENERAL (
    EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, FECHA, PRODUCTO, SUBPRODUCTO,
    CANTIDAD, SUBTOTAL, CENTROCOSTOS, BODEGA, NIT, UNIDADMOVIMIENTO
) AS
SELECT D.EMPRESA, D.DOCUMENTO, D.CONSECUTIVO, D.LINEA, M.FECHA, D.PRODUCTO,
       D.SUBPRODUCTO, D.CANTIDAD, D.SUBTOTAL, D.CENTROCOSTOS, D.BODEGA,
       M.CLIENTE, D.UNIDADMOVIMIENTO
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO;

-- MOVIMIENTOGENERAL plus the classification of the item: GRUPO, SUBGRUPO and
-- CUENTA, the inventory account of the item (PRODUCTOS.CUENTACONTABLE). The
-- stock before a date is summed over this view, so it keeps every line.
CREATE VIEW MOVIMIENTOGENERAL1 (
    EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, FECHA, PRODUCTO, SUBPRODUCTO,
    CANTIDAD, SUBTOTAL, CENTROCOSTOS, BODEGA, NIT, UNIDADMOVIMIENTO,
    GRUPO, SUBGRUPO, CUENTA
) AS
SELECT D.EMPRESA, D.DOCUMENTO, D.CONSECUTIVO, D.LINEA, M.FECHA, D.PRODUCTO,
       D.SUBPRODUCTO, D.CANTIDAD, D.SUBTOTAL, D.CENTROCOSTOS, D.BODEGA,
       M.CLIENTE, D.UNIDADMOVIMIENTO,
       P.GRUPO, P.SUBGRUPO, P.CUENTACONTABLE
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO
  LEFT JOIN PRODUCTOS P
    ON P.PRODUCTO = D.PRODUCTO;

-- Lines with their warehouse: kardex, cost before a date, the movement list of
-- the item window.
CREATE VIEW MOVIMIENTOGENERALBODEGA (
    EMPRESA, DOCUMENTO, CONSECUTIVO, LINEA, FECHA, PRODUCTO,
    CANTIDAD, SUBTOTAL, CENTROCOSTOS, BODEGA
) AS
SELECT D.EMPRESA, D.DOCUMENTO, D.CONSECUTIVO, D.LINEA, M.FECHA, D.PRODUCTO,
       D.CANTIDAD, D.SUBTOTAL, D.CENTROCOSTOS, D.BODEGA
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO;

-- Lines with the unit cost stored when each line was posted. The kardex values
-- opening stock with it.
CREATE VIEW MOVIMIENTOCOSTO (
    EMPRESA, PRODUCTO, FECHA, CANTIDAD, COSTO
) AS
SELECT D.EMPRESA, D.PRODUCTO, M.FECHA, D.CANTIDAD, D.COSTO
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO;

-- Lines by third party: statements per NIT and commission reports.
CREATE VIEW MOVIMIENTOEXTRACTO (
    EMPRESA, PRODUCTO, NIT, DOCUMENTO, FECHA, CONSECUTIVO,
    CANTIDAD, CENTROCOSTOS, SUBTOTAL
) AS
SELECT D.EMPRESA, D.PRODUCTO, M.CLIENTE, D.DOCUMENTO, M.FECHA, D.CONSECUTIVO,
       D.CANTIDAD, D.CENTROCOSTOS, D.SUBTOTAL
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO;

-- Lines with their sub-item and the group, code, sub-group and inventory
-- account of the item (CUENTA = PRODUCTOS.CUENTACONTABLE).
CREATE VIEW MOVIMIENTOSUBPRODUCTO (
    EMPRESA, PRODUCTO, SUBPRODUCTO, NIT, DOCUMENTO, FECHA, CONSECUTIVO, LINEA,
    CANTIDAD, CENTROCOSTOS, SUBTOTAL, GRUPO, CODIGO, SUBGRUPO, CUENTA,
    UNIDADMOVIMIENTO
) AS
SELECT D.EMPRESA, D.PRODUCTO, D.SUBPRODUCTO, M.CLIENTE, D.DOCUMENTO, M.FECHA,
       D.CONSECUTIVO, D.LINEA, D.CANTIDAD, D.CENTROCOSTOS, D.SUBTOTAL,
       P.GRUPO, P.CODIGO, P.SUBGRUPO, P.CUENTACONTABLE, D.UNIDADMOVIMIENTO
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO
  LEFT JOIN PRODUCTOS P
    ON P.PRODUCTO = D.PRODUCTO;

-- Lines of documents received against a purchase order. ORDENCOMPRA is the
-- ORDENCOMPRASALIDA of the header. Summing CANTIDADRECIBIDA per company, order
-- and item gives what has arrived of each order line.
CREATE VIEW MOVIMIENTOACTUALIZAR (
    EMPRESA, PRODUCTO, ORDENCOMPRA, CANTIDADRECIBIDA
) AS
SELECT D.EMPRESA, D.PRODUCTO, M.ORDENCOMPRASALIDA, D.CANTIDADRECIBIDA
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO
 WHERE M.ORDENCOMPRASALIDA IS NOT NULL
   AND M.ORDENCOMPRASALIDA > 0;

-- Current stock per company and item, over all warehouses and dates. The line
-- carries everything needed, so the header is not read.
CREATE VIEW SALDOS (
    EMPRESA, PRODUCTO, SALDO
) AS
SELECT D.EMPRESA, D.PRODUCTO, SUM(D.CANTIDAD)
  FROM MOVIMIENTODETALLE D
 GROUP BY D.EMPRESA, D.PRODUCTO;

-- Current stock per company, item and warehouse. The BODEGA of a line is that
-- of its header, copied at every post.
CREATE VIEW SALDOSBODEGA (
    EMPRESA, PRODUCTO, BODEGA, SALDO
) AS
SELECT D.EMPRESA, D.PRODUCTO, D.BODEGA, SUM(D.CANTIDAD)
  FROM MOVIMIENTODETALLE D
 GROUP BY D.EMPRESA, D.PRODUCTO, D.BODEGA;

-- Stock per company and item at the cut-off date of the company
-- (EMPRESAS.FECHACORTE, inclusive), with the date of the last movement of the
-- item up to that date. A company without a cut-off date has no rows.
CREATE VIEW SALDOSFECHACORTE (
    EMPRESA, PRODUCTO, SALDO, ULTIMOMOVIMIENTO
) AS
SELECT D.EMPRESA, D.PRODUCTO, SUM(D.CANTIDAD), MAX(M.FECHA)
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO
  JOIN EMPRESAS E
    ON E.EMPRESA = M.EMPRESA
 WHERE M.FECHA <= E.FECHACORTE
 GROUP BY D.EMPRESA, D.PRODUCTO;

-- Stock per company and item at the cut-off date of the company, for the
-- balance by group and sub-group printouts (which take group and sub-group from
-- PRODUCTOS).
CREATE VIEW SALDOSXGRUPOFECHA (
    EMPRESA, PRODUCTO, SALDO
) AS
SELECT D.EMPRESA, D.PRODUCTO, SUM(D.CANTIDAD)
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO
  JOIN EMPRESAS E
    ON E.EMPRESA = M.EMPRESA
 WHERE M.FECHA <= E.FECHACORTE
 GROUP BY D.EMPRESA, D.PRODUCTO;

-- Current stock per company and item for the balance by group printouts that
-- are not bounded by the cut-off date.
CREATE VIEW SALDOSXGRUPO1 (
    EMPRESA, PRODUCTO, SALDO
) AS
SELECT D.EMPRESA, D.PRODUCTO, SUM(D.CANTIDAD)
  FROM MOVIMIENTODETALLE D
 GROUP BY D.EMPRESA, D.PRODUCTO;

-- Units counted per company and item by the scan window: one TOMAINVENTARIO row
-- is one unit. SALDO is a number like every other balance, so the count
-- compares with SALDOS.SALDO directly.
CREATE VIEW SALDOSINVENTARIOS (
    EMPRESA, PRODUCTO, SALDO
) AS
SELECT T.EMPRESA, T.PRODUCTO, CAST(COUNT(*) AS DOUBLE PRECISION)
  FROM TOMAINVENTARIO T
 GROUP BY T.EMPRESA, T.PRODUCTO;

-- Date of the last movement per company, item and document type: the slow mover
-- reports.
CREATE VIEW FECHAULTIMOMOVIMIENTO (
    EMPRESA, PRODUCTO, DOCUMENTO, ULTIMOMOVIMIENTO
) AS
SELECT D.EMPRESA, D.PRODUCTO, D.DOCUMENTO, MAX(M.FECHA)
  FROM MOVIMIENTODETALLE D
  JOIN MOVIMIENTO M
    ON M.EMPRESA = D.EMPRESA
   AND M.DOCUMENTO = D.DOCUMENTO
   AND M.CONSECUTIVO = D.CONSECUTIVO
 GROUP BY D.EMPRESA, D.PRODUCTO, D.DOCUMENTO;
