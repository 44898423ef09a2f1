// PGM and PPM files for ReadPnm, of two kinds chosen by the first input
// byte: a header written from fuzzed fields, so that the size it claims is
// known, followed by the remaining bytes as samples; or the bytes as they
// are, for every malformed header (the claimed size then unchecked).
#include <fuzzer/FuzzedDataProvider.h>

#include "pnmread.h"
#include "readercheck.h"

static uint32_t PickSide(FuzzedDataProvider *fdp)
{
    return fdp->ConsumeBool() ? fdp->ConsumeIntegralInRange<uint32_t>(0, 40)
                              : fdp->ConsumeIntegral<uint32_t>();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider fdp(data, size);
    if (fdp.ConsumeBool()) {
        std::vector<uint8_t> file = fdp.ConsumeRemainingBytes<uint8_t>();
        CheckRoundTrip(ReadAndCheck(ReadPnm, file, kUnknownSize, kUnknownSize));
        return 0;
    }
    static const char *const kSeparators[] = {" ", "\n", "\t", "\r\n", "\n# a comment\n", "#\n  "};
    std::string magic = fdp.ConsumeBool() ? "P5" : "P6";
    uint32_t width = PickSide(&fdp), height = PickSide(&fdp);
    uint32_t maxval = fdp.ConsumeBool() ? 255 : fdp.ConsumeIntegralInRange<uint32_t>(0, 70000);
    std::string header = magic;
    for (uint32_t field : {width, height, maxval})
        header += fdp.PickValueInArray(kSeparators) + std::to_string(field);
    header += fdp.PickValueInArray({' ', '\n', '\t'});
    std::vector<uint8_t> file(header.begin(), header.end());
    std::vector<uint8_t> samples = fdp.ConsumeRemainingBytes<uint8_t>();
    file.insert(file.end(), samples.begin(), samples.end());
    CheckRoundTrip(ReadAndCheck(ReadPnm, file, width, height));
    return 0;
}
