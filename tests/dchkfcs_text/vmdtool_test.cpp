// vmdtool: the source format's errors, and pack then dump round trips
// through the preview's own reader.
#include <gtest/gtest.h>
#include <fstream>
#include <iterator>
#include "text_test_util.h"
#include "vmdtool_cli.h"

namespace {

struct ToolRun {
    int nStatus;
    std::string strOut;
    std::string strErr;
};

std::string ReadStream(FILE *pFile)
{
    std::string str;
    rewind(pFile);
    int ch;
    while ((ch = fgetc(pFile)) != EOF)
        str.push_back(char(ch));
    fclose(pFile);
    return str;
}

ToolRun RunTool(std::vector<std::string> args)
{
    args.insert(args.begin(), "vmdtool");
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(&arg[0]);
    FILE *pOut = tmpfile();
    FILE *pErr = tmpfile();
    int nStatus = RunVmdTool(int(argv.size()), argv.data(), pOut, pErr);
    return ToolRun{nStatus, ReadStream(pOut), ReadStream(pErr)};
}

class VmdTool : public testing::Test {
protected:
    TempFolder m_temp;

    std::string Source(const std::string &strText)
    {
        return m_temp.Write("src.txt", std::vector<uint8_t>(strText.begin(), strText.end())).string();
    }
    std::string Vmd() { return (m_temp.Path() / "out.vmd").string(); }

    ToolRun Pack(const std::string &strText) { return RunTool({"pack", Source(strText), "-o", Vmd()}); }
};

TEST_F(VmdTool, SourceErrorsNameTheLine)
{
    const struct { const char *pszSource; const char *pszError; } aCases[] = {
        {"[S]\nK\xC3\xA9y = x\n", "line 2: key 'K\xC3\xA9y' must be ASCII"},
        {"# c\n[Dlg]\n\n[dlg]\n", "line 4: section 'dlg' already began on line 2"},
        {"[S]\nk = 1234567890123456789012345678901234567890123456789012345678901234\n",
         "line 2: text of 'k' is 64 UTF-16 units; at most 63 fit"},
        {"k = v\n", "line 1: entry before the first [Section] line"},
        {"[S]\nk = a\nK = b\n", "line 3: key 'K' already given on line 2"},
        {"[S]\njust text\n", "line 2: expected '[Section]' or 'key = text'"},
        {"[S]\nk = \xFF\n", "line 2: text of 'k' is not valid UTF-8"},
        {"[S]\nk = \xED\xA0\x80\n", "line 2: text of 'k' is not valid UTF-8"},  // a surrogate
        {"[S]\nk = \xC0\xAF\n", "line 2: text of 'k' is not valid UTF-8"},      // overlong
        {"[S\n", "line 1: section line must end with ']'"},
        {"[ ]\n", "line 1: empty section name"},
        {"[12345678901234567890123456789012]\n", "line 1: section name '12345678901234567890123456789012' is longer"},
        {"[S]\n = v\n", "line 2: empty key"},
    };
    for (const auto &c : aCases) {
        ToolRun run = Pack(c.pszSource);
        EXPECT_EQ(run.nStatus, 1) << c.pszSource;
        EXPECT_NE(run.strErr.find(c.pszError), std::string::npos) << run.strErr;
        EXPECT_FALSE(std::filesystem::exists(Vmd())) << c.pszSource;
    }
}

TEST_F(VmdTool, TextLimitCountsUtf16Units)
{
    std::string strText;
    for (int i = 0; i < 31; ++i)
        strText += "\xF0\x9F\x98\x80";  // 31 pairs: 62 units
    ASSERT_EQ(Pack("[S]\nk = " + strText + "a\n").nStatus, 0);
    EXPECT_EQ(Pack("[S]\nk = " + strText + "\xE3\x81\x82\xE3\x81\x82\n").nStatus, 1);
}

TEST_F(VmdTool, PackThenDumpGivesTheSourceBack)
{
    std::string strSource = "[Dlg_CheckFAXCoverSheet]\n"
                            "Dlg_CheckFAXCoverSheet = FAX \xE9\x80\x81\xE4\xBB\x98\n"
                            "CfcZoom = \xF0\x9F\x94\x8D Zoom\n"
                            "CfcClose =\n"
                            "[Empty]\n"
                            "[Other]\n"
                            "odd.key-1 = a = b\n";
    ASSERT_EQ(Pack("\xEF\xBB\xBF# translators' comment\r\n" + strSource).nStatus, 0);
    ToolRun dump = RunTool({"dump", Vmd()});
    EXPECT_EQ(dump.nStatus, 0);
    EXPECT_EQ(dump.strOut, "# section limit 200\n" + strSource);
    EXPECT_EQ(dump.strErr, "");
    // The dump is a source again and packs to the same bytes.
    std::ifstream in1(Vmd(), std::ios::binary);
    std::string strFirst((std::istreambuf_iterator<char>(in1)), std::istreambuf_iterator<char>());
    in1.close();
    ASSERT_EQ(Pack(dump.strOut).nStatus, 0);
    std::ifstream in2(Vmd(), std::ios::binary);
    std::string strSecond((std::istreambuf_iterator<char>(in2)), std::istreambuf_iterator<char>());
    EXPECT_EQ(strFirst, strSecond);
}

TEST_F(VmdTool, DumpWarnsAboutWhatThePreviewWouldMiss)
{
    std::vector<uint8_t> image = PackSource("[A]\nk = v\nl = w\n[B]\n[C]\n");
    PutU32(image, 8 + 64 + 48, 8);                // B leads back to A
    PutU32(image, 8 + 52, 5);                     // A claims 5 entries, has 2
    uint32_t offText = uint32_t(image.size());
    image.resize(image.size() + 2 * 70, 'x');     // a text of 70 units
    image.insert(image.end(), {0, 0});
    PutU32(image, 200 + 8, offText);
    m_temp.Write("bad.vmd", image);
    ToolRun dump = RunTool({"dump", (m_temp.Path() / "bad.vmd").string()});
    EXPECT_EQ(dump.nStatus, 0);
    EXPECT_NE(dump.strErr.find("warning: the section chain loops back to offset "), std::string::npos) << dump.strErr;
    EXPECT_NE(dump.strErr.find("warning: entries of 'A' end after 2 of 5 entries"), std::string::npos);
    EXPECT_NE(dump.strErr.find("warning: text of 'k' is 70 UTF-16 units; the preview cuts it to 63"),
              std::string::npos);
    EXPECT_EQ(dump.strOut.find("[C]"), std::string::npos);

    image = PackSource("[A]\n[B]\n");
    PutU32(image, 4, 60);  // B lies beyond the limit
    m_temp.Write("bad.vmd", image);
    dump = RunTool({"dump", (m_temp.Path() / "bad.vmd").string()});
    EXPECT_NE(dump.strErr.find("the section chain goes on at offset 72, beyond the section limit 60"),
              std::string::npos) << dump.strErr;
}

TEST_F(VmdTool, UsageAndFileErrors)
{
    EXPECT_EQ(RunTool({}).nStatus, 2);
    EXPECT_EQ(RunTool({"pack", "a.txt"}).nStatus, 2);
    EXPECT_EQ(RunTool({"pack", "a.txt", "-x", "b"}).nStatus, 2);
    ToolRun run = RunTool({"dump", (m_temp.Path() / "missing.vmd").string()});
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_NE(run.strErr.find("cannot open"), std::string::npos);
    run = RunTool({"pack", (m_temp.Path() / "missing.txt").string(), "-o", Vmd()});
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_NE(run.strErr.find("cannot read"), std::string::npos);
}

}  // namespace
