// Prints a VMD file as the preview's reader sees it, in the source format,
// and warns about what the reader would stumble over.
#ifndef TOOLS_VMDTOOL_VMDDUMP_H
#define TOOLS_VMDTOOL_VMDDUMP_H

#include <stdio.h>
#include "vmd.h"

// Sections and entries go to pOut, warnings to pWarn. Returns the number
// of warnings.
int DumpVmdFile(VmdFile *pFile, FILE *pOut, FILE *pWarn);

#endif
