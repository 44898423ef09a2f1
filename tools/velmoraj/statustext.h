// Meanings of the encoder's status word.
#ifndef TOOLS_VELMORAJ_STATUSTEXT_H
#define TOOLS_VELMORAJ_STATUSTEXT_H

#include <cstdint>
#include <string>
#include <vector>

// One line per code held in the status word ("0x0050 writing the DQT
// segment failed"); bits that form no known code are reported as unknown.
std::vector<std::string> DescribeStatus(uint16_t status);

#endif
