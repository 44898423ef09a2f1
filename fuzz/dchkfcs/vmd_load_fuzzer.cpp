// Arbitrary bytes as VELMORAD.VMD for LoadUiStrings, read once in buffer
// mode and once in fallback mode. Both must end (libFuzzer's timeout), stay
// inside the table (ASan; a write past a text field would change the next
// record's id or key) and give the same table.
#include <stdlib.h>
#include <vector>
#include "text_test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *pData, size_t cbData)
{
    static DataFolder s_folder;         // sets the module folder once
    static UiTableSnapshot s_defaults;  // the built-in texts
    s_folder.WriteVmd(std::vector<uint8_t>(pData, pData + cbData));

    s_defaults.Restore();
    LoadUiStrings();
    UiTableSnapshot buffered;
    if (!buffered.OnlyTextsDifferFrom(s_defaults))
        abort();

    s_defaults.Restore();
    {
        ScopedFileOps ops(ReadMode::FallbackSize);
        LoadUiStrings();
    }
    if (!(UiTableSnapshot() == buffered))
        abort();
    return 0;
}
