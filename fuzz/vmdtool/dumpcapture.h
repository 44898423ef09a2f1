// Runs "vmdtool dump" on bytes written to a file, capturing what it prints.
#ifndef FUZZ_VMDTOOL_DUMPCAPTURE_H
#define FUZZ_VMDTOOL_DUMPCAPTURE_H

#include <string>
#include "text_test_util.h"

struct DumpResult {
    int nStatus;
    std::string strOut;   // the dump, in the source format
    std::string strWarn;  // warnings and errors

    bool operator==(const DumpResult &o) const
    {
        return nStatus == o.nStatus && strOut == o.strOut && strWarn == o.strWarn;
    }
};

// The file is written into one temporary folder that lives as long as the
// process, and read through the file layer that is installed.
DumpResult DumpBytes(const Bytes &bytes);

#endif
