// Where an encode call's time goes, stage by stage.
#ifndef BENCH_STAGEPROFILE_H
#define BENCH_STAGEPROFILE_H

#include <vector>

#include "benchsource.h"

// Prints, for each configuration and for the routines without AVX-512 and
// the fastest ones, the share of an encode call's time taken by the pixel
// reader (with the sampler), by the DCT, the quantiser and the forming of
// the packer's input, and by the rest (symbols and bit packing), and the
// time of a measure call against an encode call; geometric means over the
// pictures.
void PrintStageProfile(const std::vector<BenchSource> &sources);

#endif
