// Builds a small VELMORAD.VMD in memory: two sections, the second one holding
// the given key/text entries.
#ifndef TESTS_DCHKFCS_WINDOW_VMDBYTES_H
#define TESTS_DCHKFCS_WINDOW_VMDBYTES_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

typedef std::vector<std::pair<std::string, std::wstring>> VmdEntries;

std::vector<uint8_t> BuildVmd(const std::string &section, const VmdEntries &entries);

#endif
