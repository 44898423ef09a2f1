// The VMD reader, each case in buffer mode and in both ways into fallback
// mode, which must give the same results.
#include <fstream>
#include <gtest/gtest.h>
#include <string.h>
#include "text_test_util.h"
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace {

class VmdReader : public testing::TestWithParam<FileOps> {
protected:
    VmdReader() : m_ops(GetParam()) {}
    ~VmdReader() override { VmdClose(m_pFile); }

    VmdFile *Open(const Bytes &bytes)
    {
        VmdClose(m_pFile);
        m_pFile = VmdOpen(UiPath(m_temp.Write("test.vmd", bytes)).c_str());
        EXPECT_TRUE(m_pFile && (m_pFile->pbData != nullptr) == (GetParam() == FileOps::Buffer));
        return m_pFile;
    }

    ScopedFileOps m_ops;
    TempFolder m_temp;
    VmdFile *m_pFile = nullptr;
};

TEST_P(VmdReader, EmptyOrShortFileHasNoSections)
{
    VmdFile *pFile = Open({});
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(pFile->cbData, 0u);
    EXPECT_EQ(VmdFindSection(pFile, ""), 0u);
    uint8_t b = 0x55;
    EXPECT_EQ(VmdReadAt(pFile, &b, 1, 0), 0);
    EXPECT_EQ(b, 0x55);
    // 6 bytes: half a section limit, and no record at offset 8.
    EXPECT_EQ(VmdFindSection(Open({0, 0, 0, 0, 0xFF, 0xFF}), ""), 0u);
}

TEST_P(VmdReader, SectionSearch)
{
    // Sections at 8, 72 and 136, limit 200; beyond the limit at 400 a
    // record "Far" whose chain leads back to the wanted section.
    Bytes image = PackSource("[Other]\nCfcZoom = other\n"
                             "[Dlg_CheckFAXCoverSheetX]\nCfcZoom = longer name\n"
                             "[Dlg_CheckFAXCoverSheet]\nCfcZoom = wanted\n");
    PutBytes(image, 400, "Far");
    PutU32(image, 400 + 48, 136);
    const char *kWanted = "Dlg_CheckFAXCoverSheet";
    const struct {
        std::vector<std::pair<uint32_t, uint32_t>> patches;  // offset, value
        const char *pszName;
        uint32_t offFound;
    } aCases[] = {
        {{}, "dlg_checkfaxcoversheet", 136},
        {{}, "DLG_CHECKFAXCOVERSHEETX", 72},
        {{}, "other", 8},
        {{}, "Dlg_Check", 0},
        {{}, "Others", 0},
        {{}, "Far", 0},
        {{{4, 136}}, kWanted, 0},  // the limit falls on the record
        {{{4, 136}}, "Dlg_CheckFAXCoverSheetX", 72},
        {{{4, 137}}, kWanted, 136},
        {{{4, 0}}, "Other", 0},  // the record at 8 is read, but lies at the limit
        {{{4, 8}}, "Other", 0},
        {{{8 + 48, 200}}, kWanted, 0},  // a next offset at the limit ends the chain
        {{{8 + 48, 0xFFFFFFFF}}, "Dlg_CheckFAXCoverSheetX", 0},
        {{{8 + 48, 0}, {48, 400}}, kWanted, 0},  // via the header to beyond the limit
        {{{136 + 48, 8}}, "Missing", 0},         // loops end
        {{{136 + 48, 8}}, kWanted, 136},
        {{{72 + 48, 72}}, "Missing", 0},
    };
    for (const auto &c : aCases) {
        Bytes patched = image;
        for (const auto &patch : c.patches)
            PutU32(patched, patch.first, patch.second);
        EXPECT_EQ(VmdFindSection(Open(patched), c.pszName), c.offFound)
            << c.pszName << " with " << c.patches.size() << " patches";
    }
}

TEST_P(VmdReader, LongChainInAnyOrderIsWalkedToItsEnd)
{
    // 300 sections linked backwards from the last record: the loop guard
    // must not cut a chain that never repeats.
    const uint32_t n = 300;
    Bytes image;
    PutU32(image, 4, SectionOffset(n));
    PutU32(image, 8 + 48, SectionOffset(n - 1));
    for (uint32_t i = n - 1; i >= 1; --i) {
        PutBytes(image, SectionOffset(i), "s" + std::to_string(i));
        PutU32(image, SectionOffset(i) + 48, i > 1 ? SectionOffset(i - 1) : SectionOffset(n));
    }
    VmdFile *pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "s1"), SectionOffset(1));
    EXPECT_EQ(VmdFindSection(pFile, "s299"), SectionOffset(299));
}

TEST_P(VmdReader, ReadsAtTheEndOfTheFileDeliverFewerBytes)
{
    Bytes image(60);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i + 1);
    VmdFile *pFile = Open(image);
    uint8_t buf[52];
    memset(buf, 0xEE, sizeof buf);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 60), 0);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 0xFFFFFFFF), 0);
    EXPECT_EQ(buf[0], 0xEE);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 50), 10);
    EXPECT_EQ(std::string(buf, buf + 11),
              std::string("\x33\x34\x35\x36\x37\x38\x39\x3A\x3B\x3C\xEE"));

    EXPECT_FALSE(VmdReadSectionHead(pFile, 0, buf));  // offset 0: nothing is read
    EXPECT_EQ(buf[0], 51);
    EXPECT_TRUE(VmdReadSectionHead(pFile, 8, buf));
    EXPECT_EQ(buf[51], 60);
    EXPECT_TRUE(VmdReadSectionHead(pFile, 50, buf));  // part of a head is still a head
    EXPECT_FALSE(VmdReadSectionHead(pFile, 60, buf));
    EXPECT_TRUE(VmdReadSectionCounts(pFile, 48, buf));
    EXPECT_FALSE(VmdReadSectionCounts(pFile, 60, buf));
    EXPECT_TRUE(VmdReadBlock(pFile, 1000, 16, buf));  // past the end is no error
}

TEST_P(VmdReader, KeyNames)
{
    Bytes image;
    PutBytes(image, 0, std::string("Key\0", 4));
    PutBytes(image, 4, std::string(289, 'k') + '\0');
    PutBytes(image, 294, std::string(290, 'x'));
    PutBytes(image, 584, "tail");  // no NUL before the end of the file
    VmdFile *pFile = Open(image);
    const struct {
        uint32_t off;
        size_t cbDest;
        bool fOk;
        std::string strResult;
    } aCases[] = {
        {0, 300, true, "Key"},
        {584, 300, true, "tail"},
        {2000, 300, true, ""},  // past the end: empty
        {4, 300, true, std::string(289, 'k')},
        {34, 260, true, std::string(259, 'k')},  // 259 and the NUL fit the key buffer
        {4, 260, false, "unchanged"},            // too long for the destination
        {294, 300, false, "unchanged"},          // 290 bytes without a NUL
    };
    for (const auto &c : aCases) {
        char sz[300] = "unchanged";
        EXPECT_EQ(VmdReadString(pFile, c.off, sz, c.cbDest), c.fOk) << c.off;
        EXPECT_EQ(sz, c.strResult) << c.off;
    }
}

TEST_P(VmdReader, Texts)
{
    Bytes image;
    uint32_t offEmpty = AppendText(image, u"");
    uint32_t offText = AppendText(image, u"Text");
    uint32_t offLong = AppendText(image, std::u16string(100, u'L'));
    uint32_t offPair = AppendText(image, std::u16string(62, u'a') + u"\U0001F600");
    uint32_t offNoEnd = AppendText(image, std::u16string(290, u'n'));
    uint32_t offEnd = AppendText(image, u"end");
    image.pop_back();  // the file ends in the low byte of a last unit "!"
    image.back() = '!';
    VmdFile *pFile = Open(image);
    const struct {
        uint32_t off;
        size_t cchDest;
        bool fOk;
        std::u16string strResult;
    } aCases[] = {
        {offEmpty, 64, false, u"before"},  // empty: the destination keeps its text
        {offNoEnd, 64, false, u"before"},  // no terminator within 290 units
        {offText, 64, true, u"Text"},
        {offEnd, 64, true, u"end!"},
        {offLong, 64, true, std::u16string(63, u'L')},  // cut to the field
        {offPair, 64, true, std::u16string(62, u'a')},  // never inside a surrogate pair
        {offPair, 66, true, std::u16string(62, u'a') + u"\U0001F600"},
    };
    for (const auto &c : aCases) {
        UiChar sz[67];
        UiString strBefore = Ui(u"before");
        std::copy(strBefore.c_str(), strBefore.c_str() + 7, sz);
        sz[c.cchDest] = 0x1234;
        EXPECT_EQ(VmdReadWideString(pFile, c.off, sz, c.cchDest), c.fOk) << c.off;
        EXPECT_EQ(UiString(sz), Ui(c.strResult.c_str())) << c.off;
        EXPECT_EQ(sz[c.cchDest], 0x1234);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, VmdReader, testing::ValuesIn(kReadModes));

// A failed read is never reported as a read: not by the fixed-size
// readers, not as a key, not as a section.
TEST(VmdOpen, ReadErrorWhileLoadingLeavesFallbackModeThatReportsIt)
{
    TempFolder temp;
    UiString strPath = UiPath(temp.Write("a.vmd", PackSource("[S]\nk = v\n")));
    ScopedFileOps ops(FileOps::ReadsFail);
    VmdFile *pFile = VmdOpen(strPath.c_str());
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(pFile->pbData, nullptr);
    uint8_t buf[52];
    EXPECT_EQ(VmdReadAt(pFile, buf, 4, 0), -1);
    EXPECT_FALSE(VmdReadBlock(pFile, 0, 16, buf));
    EXPECT_FALSE(VmdReadSectionHead(pFile, 8, buf));
    EXPECT_FALSE(VmdReadSectionCounts(pFile, 60, buf));
    char sz[8] = "same";
    EXPECT_FALSE(VmdReadString(pFile, 8, sz, sizeof sz));
    EXPECT_STREQ(sz, "same");
    EXPECT_EQ(VmdFindSection(pFile, "S"), 0u);
    VmdClose(pFile);
}

UiString g_strOpened;
VmdHandle RecordOpen(const UiChar *pszPath)
{
    g_strOpened = pszPath;
    return VMD_NO_HANDLE;
}

// Paths take 259 units at most; a longer one is refused, not cut.
TEST(VmdOpen, FilesThatCannotBeOpened)
{
    TempFolder temp;
    EXPECT_EQ(VmdOpen(UiPath(temp.path / "missing.vmd").c_str()), nullptr);
    EXPECT_EQ(VmdOpen(UiPath(temp.path).c_str()), nullptr);  // a folder
    UiString strPath = UiPath(temp.Write("a.vmd", {1, 2, 3}));
    {
        ScopedFileOps ops(FileOps::NoMemory);  // not even the record
        EXPECT_EQ(VmdOpen(strPath.c_str()), nullptr);
    }
    VmdFileOps ops = g_VmdPlatformFileOps;
    ops.Open = RecordOpen;
    const VmdFileOps *pOld = VmdSetFileOps(&ops);
    UiString str259(259, UiChar('p')), str260(260, UiChar('p'));
    VmdOpen(str259.c_str());
    EXPECT_EQ(g_strOpened, str259);
    g_strOpened.clear();
    EXPECT_EQ(VmdOpen(str260.c_str()), nullptr);
    EXPECT_EQ(g_strOpened, UiString());
    VmdSetFileOps(pOld);
}

#ifndef _WIN32
// A sparse file just over 4 GiB has no 32-bit size: it is read in fallback
// mode, not as a buffer of its size modulo 4 GiB. A key that runs over the
// last 32-bit offset goes on at offset 0, as the offsets wrap.
TEST(VmdOpen, FileOfFourGigabytesIsReadInFallbackMode)
{
    TempFolder temp;
    std::filesystem::path path = temp.Write("big.vmd", PackSource("[S]\nk = v\n"));
    {
        std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
        file.write("AB", 2);  // the reserved field, never read as such
        file.seekp(0xFFFFFFFEll);
        file.write("xy", 2);
    }
    std::filesystem::resize_file(path, 0x100000010ull);
    VmdFile *pFile = VmdOpen(UiPath(path).c_str());
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(pFile->pbData, nullptr);
    EXPECT_EQ(VmdFindSection(pFile, "s"), 8u);
    char sz[8];
    ASSERT_TRUE(VmdReadString(pFile, 0xFFFFFFFE, sz, sizeof sz));
    EXPECT_STREQ(sz, "xyAB");
    VmdClose(pFile);
}

// The native file layer keeps the effect of read sharing for programs that
// lock: a file locked for writing is not opened, and while it is open no
// one can lock it for writing.
TEST(VmdOpen, OpenFileIsSharedForReadingOnly)
{
    TempFolder temp;
    std::filesystem::path path = temp.Write("a.vmd", {1});
    int fd = open(path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(VmdOpen(UiPath(path).c_str()), nullptr);
    flock(fd, LOCK_UN);
    VmdFile *pFile = VmdOpen(UiPath(path).c_str());
    ASSERT_NE(pFile, nullptr);
    EXPECT_NE(flock(fd, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(flock(fd, LOCK_SH | LOCK_NB), 0);
    VmdClose(pFile);
    EXPECT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    close(fd);
}
#endif

}  // namespace
