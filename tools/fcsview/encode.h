// Renders a cover sheet at fax resolution and encodes it with VELMORAJ.dll.
#ifndef TOOLS_FCSVIEW_ENCODE_H
#define TOOLS_FCSVIEW_ENCODE_H

#include <windows.h>

struct EncodeRequest {
    const WCHAR *pszOutput;  // JPEG file to write
    int nQuality;            // 1..100
    int nSampling;           // JPEG_SAMPLING_420, _422 or _444
};

// Returns true when the JPEG file was written; prints what it did.
bool EncodeCoverSheet(HENHMETAFILE hCoverSheet, const WCHAR *pszFolder,
                      const EncodeRequest &request);

#endif
