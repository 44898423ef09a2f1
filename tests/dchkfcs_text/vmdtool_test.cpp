// vmdtool: the source format's errors, and pack then dump round trips
// through the preview's own reader.
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include "text_test_util.h"
#include "vmdtool_cli.h"

namespace {

struct ToolRun {
    int nStatus;
    std::string strOut;
    std::string strErr;
};

std::string ReadBack(FILE *pFile)
{
    std::string str;
    rewind(pFile);
    for (int ch; (ch = fgetc(pFile)) != EOF;)
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
    FILE *pOut = tmpfile(), *pErr = tmpfile();
    int nStatus = RunVmdTool(int(argv.size()), argv.data(), pOut, pErr);
    return ToolRun{nStatus, ReadBack(pOut), ReadBack(pErr)};
}

class VmdTool : public testing::Test {
protected:
    TempFolder m_temp;
    std::string m_strVmd = (m_temp.path / "out.vmd").string();

    ToolRun Pack(const std::string &strText)
    {
        return RunTool({"pack",
                        m_temp.Write("src.txt", Bytes(strText.begin(), strText.end())).string(),
                        "-o", m_strVmd});
    }
    std::string PackedBytes()
    {
        std::ifstream in(m_strVmd, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    ToolRun Dump(const Bytes &image)
    {
        return RunTool({"dump", m_temp.Write("in.vmd", image).string()});
    }
};

TEST_F(VmdTool, SourceErrorsNameTheLine)
{
    std::string str31Pairs;
    for (int i = 0; i < 31; ++i)
        str31Pairs += "\xF0\x9F\x98\x80";
    const struct {
        std::string strSource;
        const char *pszError;
    } aCases[] = {
        {"[S]\nK\xC3\xA9y = x\n", "line 2: key 'K\xC3\xA9y' must be ASCII"},
        {"# c\n[Dlg]\n\n[dlg]\n", "line 4: section 'dlg' already began on line 2"},
        {"[S]\nk = " + str31Pairs + "\xE3\x81\x82\xE3\x81\x82\n",
         "line 2: text of 'k' is 64 UTF-16 units; at most 63 fit"},
        {"k = v\n", "line 1: entry before the first [Section] line"},
        {"[S]\nk = a\nK = b\n", "line 3: key 'K' already given on line 2"},
        {"[S]\njust text\n", "line 2: expected '[Section]' or 'key = text'"},
        {"[S]\nk = \xFF\n", "line 2: text of 'k' is not valid UTF-8"},
        {"[S]\nk = \xED\xA0\x80\n", "line 2: text of 'k' is not valid UTF-8"},  // a surrogate
        {"[S]\nk = \xC0\xAF\n", "line 2: text of 'k' is not valid UTF-8"},      // overlong
        {"[S\n", "line 1: section line must end with ']'"},
        {"[ ]\n", "line 1: empty section name"},
        {"[12345678901234567890123456789012]\n",
         "line 1: section name '12345678901234567890123456789012' is longer"},
        {"[S]\n = v\n", "line 2: empty key"},
    };
    for (const auto &c : aCases) {
        ToolRun run = Pack(c.strSource);
        EXPECT_EQ(run.nStatus, 1) << c.strSource;
        EXPECT_NE(run.strErr.find(c.pszError), std::string::npos) << run.strErr;
        EXPECT_FALSE(std::filesystem::exists(m_strVmd)) << c.strSource;
    }
}

// The dump is the source again (comments and BOM aside) and packs to the
// same bytes; 31 surrogate pairs and one unit are the longest text.
TEST_F(VmdTool, PackThenDumpGivesTheSourceBack)
{
    std::string strLongest = "a";
    for (int i = 0; i < 31; ++i)
        strLongest += "\xF0\x9F\x98\x80";
    std::string strSource = "[Dlg_CheckFAXCoverSheet]\n"
                            "Dlg_CheckFAXCoverSheet = FAX \xE9\x80\x81\xE4\xBB\x98\n"
                            "CfcZoom = " +
                            strLongest +
                            "\n"
                            "CfcClose =\n"
                            "[Empty]\n"
                            "[Other]\n"
                            "odd.key-1 = a = b\n";
    ASSERT_EQ(Pack("\xEF\xBB\xBF# translators' comment\r\n" + strSource).nStatus, 0);
    std::string strFirst = PackedBytes();
    ToolRun dump = RunTool({"dump", m_strVmd});
    EXPECT_EQ(dump.nStatus, 0);
    EXPECT_EQ(dump.strOut, "# section limit 200\n" + strSource);
    EXPECT_EQ(dump.strErr, "");
    ASSERT_EQ(Pack(dump.strOut).nStatus, 0);
    EXPECT_EQ(PackedBytes(), strFirst);
}

TEST_F(VmdTool, DumpWarnsAboutWhatThePreviewWouldMiss)
{
    Bytes image = PackSource("[A]\nk = v\nl = w\n[B]\n[C]\n");
    PutU32(image, 72 + 48, 8);  // B leads back to A
    PutU32(image, 8 + 52, 5);   // A claims 5 entries, has 2
    PutU32(image, 200 + 8, AppendText(image, std::u16string(70, u'x')));
    ToolRun dump = Dump(image);
    EXPECT_EQ(dump.nStatus, 0);
    for (const char *pszWarning :
         {"warning: the section chain loops back to offset ",
          "warning: entries of 'A' reach offset 0 after 2 of 5 entries: the header is read as an "
          "entry\n",
          "warning: entries of 'A' loop back (a loop of 1 entries): ",
          "warning: text of 'k' is 70 UTF-16 units; the preview cuts it to 63\n"})
        EXPECT_NE(dump.strErr.find(pszWarning), std::string::npos) << dump.strErr;
    EXPECT_EQ(dump.strOut.find("[C]"), std::string::npos);

    image = PackSource("[A]\n[B]\n");
    PutU32(image, 4, 60);  // B lies beyond the limit
    dump = Dump(image);
    EXPECT_NE(
        dump.strErr.find("the section chain goes on at offset 72, beyond the section limit 60"),
        std::string::npos)
        << dump.strErr;

    // What a source cannot hold is escaped, so the dump stays UTF-8 lines.
    // What a source cannot hold is escaped or skipped, so that the dump
    // stays lines of UTF-8 that read back as what they show.
    image = PackSource("[Ab]\nk = v\nl = w\n");
    image[9] = '\xFF';
    PutU32(image, 72 + 8, AppendText(image, u"two\nlines"));
    PutU32(image, 88, uint32_t(image.size()));  // the second key, "l", becomes "[l"
    PutBytes(image, image.size(), std::string("[l", 3));
    dump = Dump(image);
    EXPECT_EQ(dump.strOut.substr(dump.strOut.find('\n') + 1), "[A\\xFF]\nk = two\\nlines\n");
    for (const char *pszWarning :
         {"warning: section name 'A\\xFF' at offset 8 is empty or not printable ASCII\n",
          "warning: text of 'k' holds line breaks, shown as \\n: a source cannot hold them\n",
          "key '[l' starts with '[' or '#' or holds '=', which a source cannot: skipped\n"})
        EXPECT_NE(dump.strErr.find(pszWarning), std::string::npos) << dump.strErr;
}

TEST_F(VmdTool, UsageAndFileErrors)
{
    EXPECT_EQ(RunTool({}).nStatus, 2);
    EXPECT_EQ(RunTool({"pack", "a.txt"}).nStatus, 2);
    EXPECT_EQ(RunTool({"pack", "a.txt", "-x", "b"}).nStatus, 2);
    ToolRun run = RunTool({"dump", (m_temp.path / "missing.vmd").string()});
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_NE(run.strErr.find("cannot open"), std::string::npos);
    run = RunTool({"pack", (m_temp.path / "missing.txt").string(), "-o", m_strVmd});
    EXPECT_EQ(run.nStatus, 1);
    EXPECT_NE(run.strErr.find("cannot read"), std::string::npos);
}

}  // namespace
