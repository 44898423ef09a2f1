// The VMD reader in buffer mode and in both ways into fallback mode: every
// case must give the same results.
#include <fstream>
#include <gtest/gtest.h>
#include <string.h>
#include "text_test_util.h"
#include "vmdwalk.h"

namespace {

class VmdReader : public testing::TestWithParam<ReadMode> {
protected:
    VmdReader() : m_ops(GetParam()) {}
    ~VmdReader() override { VmdClose(m_pFile); }

    VmdFile *Open(const std::vector<uint8_t> &bytes)
    {
        VmdClose(m_pFile);
        m_pFile = VmdOpen(UiPath(m_temp.Write("test.vmd", bytes)).c_str());
        EXPECT_NE(m_pFile, nullptr);
        if (m_pFile) {
            EXPECT_EQ(m_pFile->pbData != nullptr, GetParam() == ReadMode::Buffer);
        }
        return m_pFile;
    }

    ScopedFileOps m_ops;
    TempFolder m_temp;
    VmdFile *m_pFile = nullptr;
};

const char *kThreeSections =
    "[Other]\nCfcZoom = other\n"
    "[Dlg_CheckFAXCoverSheetX]\nCfcZoom = longer name\n"
    "[Dlg_CheckFAXCoverSheet]\nCfcZoom = wanted\n";

TEST_P(VmdReader, EmptyFileOpensAndHasNoSections)
{
    VmdFile *pFile = Open({});
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(pFile->cbData, 0u);
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_CheckFAXCoverSheet"), 0u);
    EXPECT_EQ(VmdFindSection(pFile, ""), 0u);
    uint8_t b = 0x55;
    EXPECT_EQ(VmdReadAt(pFile, &b, 1, 0), 0);
    EXPECT_EQ(b, 0x55);
}

TEST_P(VmdReader, SectionNamesMatchWholeAndIgnoreCase)
{
    VmdFile *pFile = Open(PackSource(kThreeSections));
    EXPECT_EQ(VmdFindSection(pFile, "dlg_checkfaxcoversheet"), SectionOffset(2));
    EXPECT_EQ(VmdFindSection(pFile, "DLG_CHECKFAXCOVERSHEETX"), SectionOffset(1));
    EXPECT_EQ(VmdFindSection(pFile, "other"), SectionOffset(0));
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_Check"), 0u);
    EXPECT_EQ(VmdFindSection(pFile, "Othe"), 0u);
    EXPECT_EQ(VmdFindSection(pFile, "Others"), 0u);
}

TEST_P(VmdReader, SectionAtOrBeyondTheLimitIsNotFound)
{
    std::vector<uint8_t> image = PackSource(kThreeSections);
    PutU32(image, 4, SectionOffset(2));  // the limit falls on the wanted record
    VmdFile *pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_CheckFAXCoverSheet"), 0u);
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_CheckFAXCoverSheetX"), SectionOffset(1));

    PutU32(image, 4, SectionOffset(2) + 1);
    pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_CheckFAXCoverSheet"), SectionOffset(2));
}

TEST_P(VmdReader, NextOffsetAtOrAboveTheLimitEndsTheChain)
{
    std::vector<uint8_t> image = PackSource(kThreeSections);
    uint32_t uLimit = SectionOffset(3);
    PutU32(image, SectionOffset(0) + 48, uLimit);  // jumps over the other two
    VmdFile *pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_CheckFAXCoverSheet"), 0u);
    PutU32(image, SectionOffset(0) + 48, 0xFFFFFFFF);
    pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_CheckFAXCoverSheetX"), 0u);
}

TEST_P(VmdReader, FirstRecordIsReadButNotFoundWhenTheLimitIsEightOrLess)
{
    std::vector<uint8_t> image = PackSource(kThreeSections);
    for (uint32_t uLimit : {0u, 8u}) {
        PutU32(image, 4, uLimit);
        VmdFile *pFile = Open(image);
        EXPECT_EQ(VmdFindSection(pFile, "Other"), 0u) << uLimit;
    }
}

TEST_P(VmdReader, HeaderShorterThanEightBytesGivesASmallLimit)
{
    // 6 bytes: the limit's low two bytes only, and no record at offset 8.
    VmdFile *pFile = Open({0, 0, 0, 0, 0xFF, 0xFF});
    EXPECT_EQ(VmdFindSection(pFile, ""), 0u);
}

TEST_P(VmdReader, ChainsThatLoopBackEnd)
{
    std::vector<uint8_t> image = PackSource(kThreeSections);
    PutU32(image, SectionOffset(2) + 48, SectionOffset(0));  // 0 -> 1 -> 2 -> 0
    VmdFile *pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "Missing"), 0u);
    EXPECT_EQ(VmdFindSection(pFile, "Dlg_CheckFAXCoverSheet"), SectionOffset(2));

    PutU32(image, SectionOffset(1) + 48, SectionOffset(1));  // a record naming itself
    pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "Missing"), 0u);
}

TEST_P(VmdReader, LongChainInAnyOrderIsWalkedToItsEnd)
{
    // 300 sections linked from the last record backwards: the loop guard
    // must not cut a chain that never repeats.
    const uint32_t n = 300;
    std::vector<uint8_t> image(8 + 64 * n, 0);
    PutU32(image, 4, uint32_t(image.size()));
    PutBytes(image, 8, "first");
    PutU32(image, 8 + 48, SectionOffset(n - 1));
    for (uint32_t i = n - 1; i >= 1; --i) {
        PutBytes(image, SectionOffset(i), "s" + std::to_string(i));
        PutU32(image, SectionOffset(i) + 48, i > 1 ? SectionOffset(i - 1) : uint32_t(image.size()));
    }
    VmdFile *pFile = Open(image);
    EXPECT_EQ(VmdFindSection(pFile, "s1"), SectionOffset(1));
    EXPECT_EQ(VmdFindSection(pFile, "s299"), SectionOffset(299));
}

TEST_P(VmdReader, ReadsAtTheEndOfTheFileDeliverFewerBytes)
{
    std::vector<uint8_t> image(100);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = uint8_t(i);
    VmdFile *pFile = Open(image);
    uint8_t buf[16];
    memset(buf, 0xEE, sizeof buf);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 100), 0);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 0xFFFFFFFF), 0);
    EXPECT_EQ(buf[0], 0xEE);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 90), 10);
    EXPECT_EQ(buf[0], 90);
    EXPECT_EQ(buf[9], 99);
    EXPECT_EQ(buf[10], 0xEE);
    EXPECT_EQ(VmdReadAt(pFile, buf, 16, 0), 16);
    EXPECT_EQ(buf[15], 15);
}

TEST_P(VmdReader, FixedSizeReaders)
{
    std::vector<uint8_t> image(60, 7);
    VmdFile *pFile = Open(image);
    uint8_t head[VMD_SECTION_HEAD_SIZE];
    memset(head, 0, sizeof head);
    EXPECT_FALSE(VmdReadSectionHead(pFile, 0, head));
    EXPECT_EQ(head[0], 0);  // offset 0: nothing is read
    EXPECT_TRUE(VmdReadSectionHead(pFile, 8, head));
    EXPECT_EQ(head[51], 7);
    EXPECT_TRUE(VmdReadSectionHead(pFile, 50, head));  // part of a head is still a head
    EXPECT_FALSE(VmdReadSectionHead(pFile, 60, head));
    uint8_t counts[VMD_SECTION_COUNTS_SIZE];
    EXPECT_TRUE(VmdReadSectionCounts(pFile, 48, counts));
    EXPECT_FALSE(VmdReadSectionCounts(pFile, 60, counts));
    uint8_t block[16];
    EXPECT_TRUE(VmdReadBlock(pFile, 1000, 16, block));  // past the end is no error
}

TEST_P(VmdReader, KeyNames)
{
    std::vector<uint8_t> image;
    PutBytes(image, 0, std::string("Key\0", 4));
    PutBytes(image, 4, std::string(289, 'k') + '\0');
    PutBytes(image, 294, std::string(290, 'x'));
    PutBytes(image, 584, "tail");  // no NUL before the end of the file
    VmdFile *pFile = Open(image);

    char sz[300];
    ASSERT_TRUE(VmdReadString(pFile, 0, sz, sizeof sz));
    EXPECT_STREQ(sz, "Key");
    ASSERT_TRUE(VmdReadString(pFile, 584, sz, sizeof sz));
    EXPECT_STREQ(sz, "tail");
    ASSERT_TRUE(VmdReadString(pFile, 4, sz, sizeof sz));
    EXPECT_EQ(strlen(sz), 289u);
    ASSERT_TRUE(VmdReadString(pFile, 2000, sz, sizeof sz));  // past the end: empty
    EXPECT_STREQ(sz, "");

    // 290 bytes without a NUL; a name longer than the destination.
    strcpy(sz, "unchanged");
    EXPECT_FALSE(VmdReadString(pFile, 294, sz, sizeof sz));
    EXPECT_STREQ(sz, "unchanged");
    char szSmall[260];
    strcpy(szSmall, "unchanged");
    EXPECT_FALSE(VmdReadString(pFile, 4, szSmall, sizeof szSmall));
    EXPECT_STREQ(szSmall, "unchanged");
    EXPECT_TRUE(VmdReadString(pFile, 4 + 30, szSmall, sizeof szSmall));  // 259 + NUL fit
    EXPECT_EQ(strlen(szSmall), 259u);
}

std::vector<uint8_t> Utf16Bytes(const std::u16string &str)
{
    std::vector<uint8_t> bytes;
    for (char16_t ch : str) {
        bytes.push_back(uint8_t(ch));
        bytes.push_back(uint8_t(ch >> 8));
    }
    return bytes;
}

TEST_P(VmdReader, Texts)
{
    std::u16string strLong(100, u'L');
    std::vector<uint8_t> image = Utf16Bytes(std::u16string(u"\0", 1) + u"Text" + u'\0' + strLong + u'\0' +
                                            std::u16string(62, u'a') + u"\U0001F600" + u'\0' +
                                            std::u16string(290, u'n') + u'\0' + u"end");
    image.push_back('!');  // odd last byte: the low half of one more unit
    VmdFile *pFile = Open(image);
    uint32_t offText = 2, offLong = 12, offPair = offLong + 202, offNoEnd = offPair + 130;
    uint32_t offEnd = offNoEnd + 582;

    UiChar sz[64];
    memcpy(sz, Ui(u"before").c_str(), 7 * sizeof(UiChar));
    EXPECT_FALSE(VmdReadWideString(pFile, 0, sz, 64));  // empty text
    EXPECT_EQ(UiString(sz), Ui(u"before"));
    EXPECT_FALSE(VmdReadWideString(pFile, offNoEnd, sz, 64));  // no terminator within 290 units
    EXPECT_EQ(UiString(sz), Ui(u"before"));
    ASSERT_TRUE(VmdReadWideString(pFile, offText, sz, 64));
    EXPECT_EQ(UiString(sz), Ui(u"Text"));
    ASSERT_TRUE(VmdReadWideString(pFile, offEnd, sz, 64));
    EXPECT_EQ(UiString(sz), Ui(u"end!"));

    // Too long for the field: cut to 63 units, and a surrogate pair that
    // would be split is left out whole.
    UiChar szField[65];
    szField[64] = 0x1234;
    ASSERT_TRUE(VmdReadWideString(pFile, offLong, szField, 64));
    EXPECT_EQ(UiString(szField), UiString(63, UiChar('L')));
    EXPECT_EQ(szField[64], 0x1234);
    ASSERT_TRUE(VmdReadWideString(pFile, offPair, szField, 64));
    EXPECT_EQ(UiString(szField), UiString(62, UiChar('a')));
    UiChar szWide[66];
    ASSERT_TRUE(VmdReadWideString(pFile, offPair, szWide, 66));
    EXPECT_EQ(UiString(szWide).size(), 64u);
}

INSTANTIATE_TEST_SUITE_P(Modes, VmdReader,
                         testing::Values(ReadMode::Buffer, ReadMode::FallbackSize, ReadMode::FallbackAlloc),
                         [](const testing::TestParamInfo<ReadMode> &info) { return ReadModeName(info.param); });

TEST(VmdOpen, MissingFileOrFolderIsNotOpened)
{
    TempFolder temp;
    EXPECT_EQ(VmdOpen(UiPath(temp.Path() / "missing.vmd").c_str()), nullptr);
    EXPECT_EQ(VmdOpen(UiPath(temp.Path()).c_str()), nullptr);
}

TEST(VmdOpen, NoMemoryForTheRecordMeansNotOpened)
{
    TempFolder temp;
    std::filesystem::path path = temp.Write("a.vmd", {1, 2, 3});
    ScopedFileOps ops(&g_NoMemoryOps);
    EXPECT_EQ(VmdOpen(UiPath(path).c_str()), nullptr);
}

TEST(VmdOpen, ReadErrorWhileLoadingLeavesFallbackModeThatReportsIt)
{
    TempFolder temp;
    std::filesystem::path path = temp.Write("a.vmd", PackSource("[S]\nk = v\n"));
    ScopedFileOps ops(&g_ReadFailsOps);
    VmdFile *pFile = VmdOpen(UiPath(path).c_str());
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

// Paths take 259 units at most; a longer one is refused, not cut.
TEST(VmdOpen, PathLengthLimit)
{
    TempFolder temp;
    UiString strFolder = UiPath(temp.Path());
    // Folders of 100 units until the file name can make up the rest exactly.
    std::filesystem::path folder = temp.Path();
    while (UiPath(folder).size() + 1 + 100 + 1 + 20 < 259)
        folder /= std::string(100, 'd');
    std::filesystem::create_directories(folder);
    size_t cchName = 259 - UiPath(folder).size() - 1;
    std::filesystem::path path259 = folder / std::string(cchName, 'f');
    std::filesystem::path path260 = folder / std::string(cchName + 1, 'f');
    {
        std::ofstream(path259) << "x";
        std::ofstream(path260) << "x";
    }
    ASSERT_EQ(UiPath(path259).size(), 259u);
    VmdFile *pFile = VmdOpen(UiPath(path259).c_str());
    ASSERT_NE(pFile, nullptr);
    EXPECT_EQ(UiString(pFile->szPath), UiPath(path259));
    VmdClose(pFile);
    EXPECT_EQ(VmdOpen(UiPath(path260).c_str()), nullptr);
}

}  // namespace
