#include "statustext.h"

#include <cstdio>

#include "velmoraj.h"

namespace {

struct StatusText {
    uint16_t code;
    const char *text;
};

}  // namespace

// Codes share bits (0x0070 holds 0x0030, 0x0190 holds 0x0090), so each is
// matched whole and removed, wider codes first.
static const StatusText kStatusTexts[] = {
    {JPEG_ERR_PARAM, "quality, sampling or mode out of range"},
    {JPEG_ERR_DEPTH, "bits per pixel not 8, 16, 24 or 32"},
    {JPEG_ERR_OPTIONS, "encoder options rejected"},
    {JPEG_ERR_APP0, "writing the APP0 (JFIF) segment failed"},
    {JPEG_ERR_SOF0, "writing the SOF0 segment failed"},
    {JPEG_ERR_DQT, "writing the DQT segment failed"},
    {JPEG_ERR_SIZE, "width or height is 0 or above 65535"},
    {JPEG_ERR_SCAN, "the scan failed (pixel rows or entropy-coded data)"},
    {JPEG_ERR_DHT, "writing the DHT segment failed"},
    {JPEG_ERR_BOUNDS, "read or write past the end of the input or output buffer"},
};

static std::string Hex(uint16_t v)
{
    char text[8];
    snprintf(text, sizeof text, "0x%04X", v);
    return text;
}

std::vector<std::string> DescribeStatus(uint16_t status)
{
    std::vector<std::string> lines;
    uint16_t rest = status & ~JPEG_STATUS_BASE;
    for (const StatusText &t : kStatusTexts) {
        if ((rest & t.code) == t.code) {
            lines.push_back(Hex(t.code) + " " + t.text);
            rest &= ~t.code;
        }
    }
    if (rest)
        lines.push_back(Hex(rest) + " unknown code");
    return lines;
}
