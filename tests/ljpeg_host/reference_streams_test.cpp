// The encoder's exact bytes for a fixed set of jobs, natively and from the
// Windows DLL loaded as a host loads it. Both builds compare with the same
// committed records; when a change of bytes is intended, the failure prints
// the new records for reference_streams.inc.
#include <gtest/gtest.h>

#include <cstring>

#include "reference_jobs.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

EncodeStartFn LoadEncoder()
{
#ifdef _WIN32
    HMODULE dll = LoadLibraryW(L"VELMORAJ.dll");
    if (!dll)
        return nullptr;
    return reinterpret_cast<EncodeStartFn>(
        reinterpret_cast<void *>(GetProcAddress(dll, "Jpeg_EncodeStart")));
#else
    return Jpeg_EncodeStart;
#endif
}

bool Same(const StreamRecord &a, const StreamRecord &b)
{
    return strcmp(a.name, b.name) == 0 && a.status == b.status && a.length == b.length &&
           a.hash == b.hash;
}

}  // namespace

TEST(ReferenceStreams, BytesMatchTheCommittedRecords)
{
    EncodeStartFn encode = LoadEncoder();
    ASSERT_NE(encode, nullptr) << "VELMORAJ.dll or its export Jpeg_EncodeStart not found";
    std::vector<StreamRecord> now = RunReferenceJobs(encode);
    std::vector<StreamRecord> committed = CommittedRecords();
    bool all_same = now.size() == committed.size();
    for (size_t i = 0; all_same && i < now.size(); i++)
        all_same = Same(now[i], committed[i]);
    if (!all_same)
        printf("Records of this build:\n%s", FormatRecords(now).c_str());
    ASSERT_EQ(now.size(), committed.size());
    for (size_t i = 0; i < now.size(); i++)
        EXPECT_TRUE(Same(now[i], committed[i]))
            << "now:       " << FormatRecords({now[i]}) << "committed: " << FormatRecords({committed[i]});
}

TEST(ReferenceStreams, CommittedFailuresCarryTheirStatusAndZeroLength)
{
    for (const StreamRecord &r : CommittedRecords()) {
        if (strcmp(r.name, "bgr24-16x16-output-one-short") == 0)
            EXPECT_EQ(r.status, 0x2005);  // the end-of-image marker no longer fits
        else if (strcmp(r.name, "bgr24-40x20-input-one-short") == 0)
            EXPECT_EQ(r.status, 0x2085);  // the top row runs past the input
        else
            EXPECT_EQ(r.status, 0) << r.name;
        EXPECT_EQ(r.length == 0, r.status != 0) << r.name;
    }
}
