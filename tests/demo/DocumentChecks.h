#pragma once
// Checks of every stored document against the rules any writer of documents keeps. Each returns one
// text per faulty document or line, empty when the data is sound.

#include "platform/db/Session.h"

#include <QStringList>

namespace test {

// Header SUBTOTAL, DESCUENTO and IVA are the sums of the lines and NETO = SUBTOTAL + IVA - DESCUENTO;
// every header has lines numbered 1..n, and no line lacks its header.
QStringList documentTotalFaults(db::Session& session);

// A line's BODEGA is its header's, its values are not negative and its quantity carries the sign of
// the document type's OPERADOR ("S" positive, "R" negative, "N" zero).
QStringList documentLineFaults(db::Session& session);

// Per company, item and warehouse, the balance at the end of every day is not below zero.
QStringList negativeBalanceFaults(db::Session& session);

// The entry totals (ENTRADASPRODUCTO) hold, bucket by bucket, exactly the entry lines of dated headers.
QStringList entryTotalFaults(db::Session& session);

} // namespace test
