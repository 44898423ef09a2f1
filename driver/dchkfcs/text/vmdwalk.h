// Walks along the offset chains of a VMD file: the section records from
// offset 8, and the entry records of one section. Every walk ends, also on
// files whose chains loop back.
#ifndef DRIVER_DCHKFCS_TEXT_VMDWALK_H
#define DRIVER_DCHKFCS_TEXT_VMDWALK_H

#include <stdint.h>
#include "vmd.h"

enum VmdWalkStep {
    VMD_WALK_RECORD,  // a record was read
    VMD_WALK_DONE,    // entries: the entry count is used up
    VMD_WALK_LIMIT,   // sections: the next offset is at or beyond the section limit
    VMD_WALK_SHORT,   // sections: no whole record at the next offset
    VMD_WALK_CYCLE    // sections: the chain leads back to a record already read
};

// Brent's cycle detection over the offsets of one chain: finds any loop
// within a few times its length, with no memory of the whole path.
struct VmdLoopGuard {
    uint32_t offSaved;
    uint64_t nSteps;
    uint64_t nPower;
};

struct VmdSectionWalk {
    uint32_t uLimit;      // section limit of the header
    uint32_t offSection;  // record last read
    uint32_t offNext;
    bool fStarted;  // the record at offset 8 has been read
    VmdLoopGuard guard;
};

struct VmdEntryWalk {
    uint32_t nLeft;     // passes still to make: the entry count at first
    uint32_t offEntry;  // record last read
    uint32_t offNext;
    uint32_t nLoop;  // length of the loop the chain ran into; 0 if none
    VmdLoopGuard guard;
};

void VmdStartSectionWalk(VmdFile *pFile, VmdSectionWalk *pWalk);
// Reads the next section head (52 bytes) into pHead.
VmdWalkStep VmdReadNextSection(VmdFile *pFile, VmdSectionWalk *pWalk, uint8_t *pHead);

// pHead: the section's head; pCounts: the 12 bytes behind it.
void VmdStartEntryWalk(VmdEntryWalk *pWalk, const uint8_t *pHead, const uint8_t *pCounts);
// Reads the next entry record (16 bytes) into pEntry; what cannot be read
// stays zero. Exactly entry-count records are read, wherever the chain
// leads; only passes that would repeat a loop already read in full are
// left out.
VmdWalkStep VmdReadNextEntry(VmdFile *pFile, VmdEntryWalk *pWalk, uint8_t *pEntry);

#endif
