/*
 * The block-transform slot passes a QuantTable's divisors; the fast
 * quantiser's constants live in the same table.
 */
#ifndef VELMORAJ_QUANT_TABLE_OF_H
#define VELMORAJ_QUANT_TABLE_OF_H

#include <stddef.h>

#include "jpeginternal.h"

static inline const FastQuantiser *FastQuantiserOf(const uint16_t divisors[64])
{
    const char *table = (const char *)divisors - offsetof(QuantTable, divisors);
    return &((const QuantTable *)table)->fast;
}

#endif
