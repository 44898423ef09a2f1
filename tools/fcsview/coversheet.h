// The sample cover sheet that fcsview shows when no metafile is given.
#ifndef TOOLS_FCSVIEW_COVERSHEET_H
#define TOOLS_FCSVIEW_COVERSHEET_H

#include <windows.h>

// A US Letter page drawn into a new enhanced metafile; the caller deletes it.
HENHMETAFILE CreateSampleCoverSheet();

#endif
