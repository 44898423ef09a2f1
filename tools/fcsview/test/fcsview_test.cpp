// fcsview's own parts: the command line, the sample cover sheet and the
// driver-style encode through the real VELMORAJ.dll beside the test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "coversheet.h"
#include "encode.h"
#include "options.h"

static bool Parse(std::vector<const WCHAR *> args, Options *pOptions)
{
    args.insert(args.begin(), L"fcsview");
    return ParseOptions(static_cast<int>(args.size()), const_cast<WCHAR **>(args.data()), pOptions);
}

TEST(FcsviewOptions, ReadsEveryOptionAndRejectsBadValues)
{
    Options o;
    ASSERT_TRUE(Parse(
        {L"page.emf", L"--x", L"12", L"--y", L"-3", L"--lang", L"ja", L"--screenshot", L"a.bmp"},
        &o));
    EXPECT_STREQ(L"page.emf", o.pszCoverSheet);
    EXPECT_EQ(12, o.nImageX);
    EXPECT_EQ(-3, o.nImageY);
    EXPECT_STREQ(L"ja", o.pszLang);
    EXPECT_STREQ(L"a.bmp", o.pszScreenshot);
    EXPECT_EQ(nullptr, o.pszEncode);

    Options e;
    ASSERT_TRUE(Parse({L"--encode", L"out.jpg", L"-q", L"100", L"-s", L"444"}, &e));
    EXPECT_STREQ(L"out.jpg", e.pszEncode);
    EXPECT_EQ(100, e.nQuality);
    EXPECT_EQ(2, e.nSampling);
    EXPECT_EQ(nullptr, e.pszCoverSheet);

    const std::vector<std::vector<const WCHAR *>> bad = {
        {L"-q", L"0"},    {L"-q", L"101"},      {L"-q", L"9x"},          {L"-s", L"411"}, {L"--x"},
        {L"--x", L"abc"}, {L"a.emf", L"b.emf"}, {L"--frobnicate", L"1"}, {L"--y", L""}};
    for (const auto &args : bad) {
        Options r;
        EXPECT_FALSE(Parse(args, &r)) << args[0];
    }
}

TEST(FcsviewCoverSheet, IsALetterPageWithContent)
{
    HENHMETAFILE hemf = CreateSampleCoverSheet();
    ASSERT_NE(nullptr, hemf);
    ENHMETAHEADER header = {};
    ASSERT_EQ(sizeof(header), GetEnhMetaFileHeader(hemf, sizeof(header), &header));
    EXPECT_EQ(0, header.rclFrame.left);
    EXPECT_EQ(0, header.rclFrame.top);
    EXPECT_EQ(21590, header.rclFrame.right);
    EXPECT_EQ(27940, header.rclFrame.bottom);
    EXPECT_GT(header.nRecords, 50u);
    DeleteEnhMetaFile(hemf);
}

static std::wstring ProgramFolder()
{
    WCHAR szPath[MAX_PATH];
    DWORD cch = GetModuleFileNameW(nullptr, szPath, MAX_PATH);
    std::wstring path(szPath, cch);
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

static std::vector<uint8_t> ReadAll(const std::wstring &path)
{
    std::vector<uint8_t> bytes;
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(hFile, nullptr));
    DWORD cb = 0;
    ReadFile(hFile, bytes.data(), static_cast<DWORD>(bytes.size()), &cb, nullptr);
    CloseHandle(hFile);
    bytes.resize(cb);
    return bytes;
}

// Frame header facts of a baseline stream: height, width, and the first
// component's sampling factors.
struct FrameInfo {
    int cy = -1, cx = -1, components = -1, lumaSampling = -1;
};

static FrameInfo FindFrame(const std::vector<uint8_t> &jpeg)
{
    FrameInfo info;
    for (size_t i = 2; i + 4 < jpeg.size();) {
        if (jpeg[i] != 0xFF)
            break;
        const int marker = jpeg[i + 1];
        const size_t length = jpeg[i + 2] << 8 | jpeg[i + 3];
        if (marker == 0xC0 && i + 2 + length <= jpeg.size()) {
            info.cy = jpeg[i + 5] << 8 | jpeg[i + 6];
            info.cx = jpeg[i + 7] << 8 | jpeg[i + 8];
            info.components = jpeg[i + 9];
            info.lumaSampling = jpeg[i + 11];
            return info;
        }
        i += 2 + length;
    }
    return info;
}

TEST(FcsviewEncode, WritesAFaxResolutionJpegForEachSampling)
{
    HENHMETAFILE hemf = CreateSampleCoverSheet();
    ASSERT_NE(nullptr, hemf);
    const std::wstring folder = ProgramFolder();
    const std::wstring out = folder + L"fcsview_test.jpg";
    const struct {
        int nSampling, lumaSampling;
    } cases[] = {{0, 0x22}, {1, 0x21}, {2, 0x11}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.nSampling);
        DeleteFileW(out.c_str());
        EncodeRequest request = {out.c_str(), 60, c.nSampling};
        ASSERT_TRUE(EncodeCoverSheet(hemf, folder.c_str(), request));
        const std::vector<uint8_t> jpeg = ReadAll(out);
        ASSERT_GT(jpeg.size(), 1000u);
        EXPECT_EQ(0xFF, jpeg[0]);
        EXPECT_EQ(0xD8, jpeg[1]);
        EXPECT_EQ(0xFF, jpeg[jpeg.size() - 2]);
        EXPECT_EQ(0xD9, jpeg[jpeg.size() - 1]);
        const FrameInfo frame = FindFrame(jpeg);
        EXPECT_EQ(1700, frame.cx);  // 8.5 in at 200 dpi
        EXPECT_EQ(2200, frame.cy);  // 11 in at 200 dpi
        EXPECT_EQ(3, frame.components);
        EXPECT_EQ(c.lumaSampling, frame.lumaSampling);
    }
    DeleteFileW(out.c_str());

    // Without the library the encode fails and writes nothing.
    EncodeRequest request = {out.c_str(), 75, 0};
    EXPECT_FALSE(EncodeCoverSheet(hemf, L"C:\\no-such-folder\\", request));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(out.c_str()));
    DeleteEnhMetaFile(hemf);
}
