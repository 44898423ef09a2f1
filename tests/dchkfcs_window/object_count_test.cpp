// No GDI or USER object outlives a preview call: 200 calls, closed in every
// way, with and without VELMORAD.VMD, with a real and a null metafile, while
// the library's own imports count what it creates and releases.
#include <iostream>

#include "importcount.h"
#include "previewtest.h"
#include "vmdbytes.h"

TEST_F(PreviewTest, EveryObjectACallCreatesIsReleasedByItsEnd)
{
    ImportCounter counter(lib.hModule);
    EXPECT_EQ(std::vector<std::string>(), counter.Uncounted())
        << "imports that may create objects uncounted";
    const std::vector<uint8_t> vmd =
        BuildVmd("Dlg_CheckFAXCoverSheet", {{"CfcClose", L"Schlie\u00dfen"}});
    const std::vector<std::pair<const char *, std::function<void(const PreviewWindows &)>>> ways = {
        {"Esc", [](const PreviewWindows &w) { PostKey(w.view, VK_ESCAPE); }},
        {"Close button",
         [](const PreviewWindows &w) {
             SendMessageW(GetDlgItem(w.dialog, ID_CANCEL), BM_CLICK, 0, 0);
         }},
        {"system menu",
         [](const PreviewWindows &w) { PostMessageW(w.frame, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"WM_CLOSE", [](const PreviewWindows &w) { PostMessageW(w.frame, WM_CLOSE, 0, 0); }},
        {"WM_QUIT", [](const PreviewWindows &) { PostQuitMessage(0); }},
    };
    int nShown = 0;
    for (int nRound = 0; nRound < 10; ++nRound) {
        for (const auto &way : ways) {
            for (bool bDataFile : {false, true}) {
                for (HENHMETAFILE hSheet : {sheet, HENHMETAFILE(nullptr)}) {
                    SCOPED_TRACE(testing::Message() << way.first << (bDataFile ? ", data file" : "")
                                                    << (hSheet ? "" : ", no metafile"));
                    ASSERT_TRUE(bDataFile ? lib.WriteDataFile(vmd) : (lib.RemoveDataFile(), true));
                    std::vector<PreviewStep> steps;
                    if (hSheet)
                        steps.push_back({50, way.second});
                    EXPECT_EQ(hSheet ? 1 : 0, RunPreview(lib, parent, hSheet, 0, 0, steps));
                    nShown += hSheet != nullptr;
                    ASSERT_EQ(std::vector<std::string>(), counter.Live())
                        << "objects left after the call";
                }
            }
        }
    }
    for (const auto &kind : counter.Counts()) {
        EXPECT_EQ(kind.second.nCreated, kind.second.nReleased) << kind.first;
        std::cout << kind.first << ": " << kind.second.nCreated << " created, "
                  << kind.second.nReleased << " released in " << nShown << " shown calls\n";
    }
    EXPECT_EQ(100, nShown);
}
