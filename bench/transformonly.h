// The fast MCU loop of a sink without its bit packing: the stage profile's
// stand-in for reading, transforming and analysing the blocks. Included by
// files built for the sink's instruction set.
#ifndef BENCH_TRANSFORMONLY_H
#define BENCH_TRANSFORMONLY_H

#include "stagecoders.h"

template <class Sink>
struct TransformOnly : Sink {
    template <int kPut>
    static inline void Pack(BitBuffer *b, ComponentSpec *, const typename Sink::Block *a)
    {
        // Uses the analysis, so that the compiler keeps it.
        b->acc ^= a->nonzero ^ a->c.word[63];
    }
};

#endif
