// LoadUiStrings with the file layer failing, for every read of a good file
// and in every read mode: from that read on, or at that read only. The file
// is always closed and its memory freed, and every text is its default, its
// translation, or a beginning of the translation whose read was cut short.
#include <gtest/gtest.h>
#include "text_test_util.h"

namespace {

enum class Fault { FromThenOn, ThatReadOnly };

// Counts the calls of the file layer in force under it and fails reads on
// demand. The layer is a table of plain routines, so the state is static.
class FaultyLayer {
public:
    FaultyLayer(int nFailAt, Fault fault) : m_pOld(VmdSetFileOps(nullptr))
    {
        s_inner = m_ops = *m_pOld;
        s_nFailAt = nFailAt, s_fault = fault;
        s_nReads = s_nOpen = s_nClose = s_nAlloc = s_nFree = 0;
        m_ops.Open = [](const UiChar *psz) { return Counted(&s_nOpen, s_inner.Open(psz)); };
        m_ops.Close = [](VmdHandle h) { ++s_nClose, s_inner.Close(h); };
        m_ops.AllocZero = [](size_t cb) { return Counted(&s_nAlloc, s_inner.AllocZero(cb)); };
        m_ops.Free = [](void *p) { s_nFree += p != nullptr, s_inner.Free(p); };
        m_ops.Read = Read;
        VmdSetFileOps(&m_ops);
    }
    ~FaultyLayer() { VmdSetFileOps(m_pOld); }

    static int s_nReads, s_nOpen, s_nClose, s_nAlloc, s_nFree;

private:
    template <typename T>
    static T Counted(int *pn, T result)
    {
        *pn += result != T(VMD_NO_HANDLE) && result != T();
        return result;
    }

    static bool Read(VmdHandle h, void *pDest, uint32_t cb, uint32_t *pcbRead)
    {
        ++s_nReads;
        bool fFail = s_fault == Fault::FromThenOn ? s_nReads >= s_nFailAt : s_nReads == s_nFailAt;
        return fFail ? false : s_inner.Read(h, pDest, cb, pcbRead);
    }

    static VmdFileOps s_inner;
    static int s_nFailAt;
    static Fault s_fault;
    const VmdFileOps *m_pOld;
    VmdFileOps m_ops;
};

VmdFileOps FaultyLayer::s_inner;
int FaultyLayer::s_nFailAt, FaultyLayer::s_nReads, FaultyLayer::s_nOpen, FaultyLayer::s_nClose;
int FaultyLayer::s_nAlloc, FaultyLayer::s_nFree;
Fault FaultyLayer::s_fault;

// Every translatable text: its field and its translation in kSource.
struct Text {
    UiChar *pszField;
    const char16_t *pszTranslation;
};

const char kSource[] = "[Other]\nCfcClose = not this one\n"
                       "[Dlg_CheckFAXCoverSheet]\n"
                       "Dlg_CheckFAXCoverSheet = Title translated\nCfcZoom = Zoom translated\n"
                       "Cfcz_ZoomIn = In translated\nCfcz_ZoomOut = Out "
                       "translated\nCfcz_ViewWholePage = Page translated\n"
                       "Cfcz_ViewWholeWidth = Width translated\nCfcHelp = Help "
                       "translated\nCfch_Help = Topics translated\n"
                       "CfcImagePosition = Position translated\nCfcImagePositionX = X translated\n"
                       "CfcImagePositionY = Y translated\nCfcClose = Close translated\n";

std::vector<Text> Texts()
{
    return {{g_UiWindowTitle.szText, u"Title translated"},
            {g_aUiZoomMenu[0].szText, u"Zoom translated"},
            {g_aUiZoomMenu[1].szText, u"In translated"},
            {g_aUiZoomMenu[2].szText, u"Out translated"},
            {g_aUiZoomMenu[3].szText, u"Page translated"},
            {g_aUiZoomMenu[4].szText, u"Width translated"},
            {g_aUiHelpMenu[0].szText, u"Help translated"},
            {g_aUiHelpMenu[1].szText, u"Topics translated"},
            {g_aUiImagePosition[0].szText, u"Position translated"},
            {g_aUiImagePosition[1].szText, u"X translated"},
            {g_aUiImagePosition[2].szText, u"Y translated"},
            {g_UiClose.szText, u"Close translated"}};
}

// How many texts are cut short (a failed read ends a text like its
// terminator); fails the test for a text that is neither its default, its
// translation nor a beginning of it.
int CutTexts(const std::vector<UiString> &defaults)
{
    std::vector<Text> texts = Texts();
    int nCut = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        UiString now(texts[i].pszField), translation = Ui(texts[i].pszTranslation);
        bool fCut = now != defaults[i] && !now.empty() && now.size() < translation.size() &&
                    translation.compare(0, now.size(), now) == 0;
        EXPECT_TRUE(now == defaults[i] || now == translation || fCut) << "text " << i;
        nCut += fCut;
    }
    return nCut;
}

}  // namespace

TEST(UiLoaderReadFaults, FileClosedAndTextsWholeOrCutAtEveryFailingRead)
{
    const UiTable defaults = SaveUiTable();
    std::vector<UiString> defaultTexts;
    for (const Text &t : Texts())
        defaultTexts.push_back(t.pszField);
    DataFolder folder;
    folder.WriteVmd(PackSource(kSource));
    for (FileOps mode : kReadModes) {
        ScopedFileOps base(mode);
        int nReads = 0;
        {
            FaultyLayer counting(0, Fault::ThatReadOnly);
            LoadUiStrings();
            nReads = FaultyLayer::s_nReads;
        }
        ASSERT_EQ(0, CutTexts(defaultTexts));
        ASSERT_EQ(Ui(u"Close translated"), UiString(g_UiClose.szText));
        for (Fault fault : {Fault::FromThenOn, Fault::ThatReadOnly}) {
            for (int nFailAt = 1; nFailAt <= nReads; ++nFailAt) {
                SCOPED_TRACE(testing::Message() << "mode " << int(mode) << ", fault " << int(fault)
                                                << ", read " << nFailAt << " of " << nReads);
                RestoreUiTable(defaults);
                FaultyLayer faulty(nFailAt, fault);
                LoadUiStrings();
                EXPECT_EQ(1, FaultyLayer::s_nOpen);
                EXPECT_EQ(1, FaultyLayer::s_nClose);
                EXPECT_EQ(FaultyLayer::s_nAlloc, FaultyLayer::s_nFree);
                EXPECT_LE(CutTexts(defaultTexts), 1);
            }
        }
    }
    RestoreUiTable(defaults);
}
