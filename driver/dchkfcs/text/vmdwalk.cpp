// The section chain and the entry chains of a VMD file, walked record by
// record with a guard against chains that loop back.
#include <string.h>
#include "vmdwalk.h"

static void StartGuard(VmdLoopGuard *pGuard)
{
    pGuard->offSaved = 0;
    pGuard->nSteps = 0;
    pGuard->nPower = 0;
}

// Brent: compare each offset with one saved offset, and save a new one
// whenever the number of steps since the last save reaches a power of two.
// On a hit, nSteps is the length of the loop.
static bool GuardSeen(VmdLoopGuard *pGuard, uint32_t off)
{
    if (pGuard->nPower != 0 && off == pGuard->offSaved)
        return true;
    if (pGuard->nSteps == pGuard->nPower) {
        pGuard->offSaved = off;
        pGuard->nPower = pGuard->nPower ? pGuard->nPower * 2 : 1;
        pGuard->nSteps = 0;
    }
    ++pGuard->nSteps;
    return false;
}

// A header shorter than 8 bytes gives a limit of 0 or a partial value.
void VmdStartSectionWalk(VmdFile *pFile, VmdSectionWalk *pWalk)
{
    uint8_t header[VMD_HEADER_SIZE];
    memset(header, 0, sizeof header);
    VmdReadAt(pFile, header, sizeof header, 0);
    pWalk->uLimit = VmdGetU32(header + VMD_HEADER_LIMIT);
    pWalk->offSection = 0;
    pWalk->offNext = VMD_FIRST_SECTION;
    pWalk->fStarted = false;
    StartGuard(&pWalk->guard);
}

// The record at offset 8 is always read; later ones only below the limit.
VmdWalkStep VmdReadNextSection(VmdFile *pFile, VmdSectionWalk *pWalk, uint8_t *pHead)
{
    if (pWalk->fStarted && pWalk->offNext >= pWalk->uLimit)
        return VMD_WALK_LIMIT;
    if (GuardSeen(&pWalk->guard, pWalk->offNext))
        return VMD_WALK_CYCLE;
    if (VmdReadAt(pFile, pHead, VMD_SECTION_HEAD_SIZE, pWalk->offNext) != VMD_SECTION_HEAD_SIZE)
        return VMD_WALK_SHORT;
    pWalk->fStarted = true;
    pWalk->offSection = pWalk->offNext;
    pWalk->offNext = VmdGetU32(pHead + VMD_SECTION_NEXT);
    return VMD_WALK_RECORD;
}

void VmdStartEntryWalk(VmdEntryWalk *pWalk, const uint8_t *pHead, const uint8_t *pCounts)
{
    pWalk->nLeft = VmdGetU32(pCounts);
    pWalk->offEntry = 0;
    pWalk->offNext = VmdGetU32(pHead + VMD_SECTION_FIRST_ENTRY);
    pWalk->nLoop = 0;
    StartGuard(&pWalk->guard);
}

// When the chain comes back to a record, the records of its loop have just
// been read in order, and reading them again gives every text the value it
// already has. Of the passes left, only the last (passes mod loop length)
// can change anything, so a huge entry count cannot stall the caller.
VmdWalkStep VmdReadNextEntry(VmdFile *pFile, VmdEntryWalk *pWalk, uint8_t *pEntry)
{
    if (pWalk->nLeft != 0 && pWalk->nLoop == 0 && GuardSeen(&pWalk->guard, pWalk->offNext)) {
        pWalk->nLoop = uint32_t(pWalk->guard.nSteps);
        pWalk->nLeft %= pWalk->nLoop;
    }
    if (pWalk->nLeft == 0)
        return VMD_WALK_DONE;
    memset(pEntry, 0, VMD_ENTRY_SIZE);
    VmdReadBlock(pFile, pWalk->offNext, VMD_ENTRY_SIZE, pEntry);
    pWalk->offEntry = pWalk->offNext;
    pWalk->offNext = VmdGetU32(pEntry + VMD_ENTRY_NEXT);
    --pWalk->nLeft;
    return VMD_WALK_RECORD;
}
