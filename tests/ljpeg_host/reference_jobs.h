// A fixed set of encoder jobs whose streams are pinned by a 64-bit hash, so
// that the native library and the Windows DLL are held to the same bytes.
#ifndef LJPEG_HOST_REFERENCE_JOBS_H
#define LJPEG_HOST_REFERENCE_JOBS_H

#include <cstdint>
#include <string>
#include <vector>

#include "velmoraj.h"

typedef uint16_t(VELMORAJ_CALL *EncodeStartFn)(JpegJob *job, uint8_t mode);

// What one job gave: the encode call's status, the reported length and the
// FNV-1a hash of the whole output buffer.
struct StreamRecord {
    const char *name;
    uint16_t status;
    uint32_t length;
    uint64_t hash;
};

// Runs every reference job through encode (measure, then encode into a
// buffer of the measured length, or of a capacity the job fixes).
std::vector<StreamRecord> RunReferenceJobs(EncodeStartFn encode);

// The records committed in reference_streams.inc.
std::vector<StreamRecord> CommittedRecords();

// The records in the form of reference_streams.inc, for review and commit.
std::string FormatRecords(const std::vector<StreamRecord> &records);

#endif
