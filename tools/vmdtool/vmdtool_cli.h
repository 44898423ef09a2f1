// The vmdtool command line, callable from tests.
#ifndef TOOLS_VMDTOOL_VMDTOOL_CLI_H
#define TOOLS_VMDTOOL_VMDTOOL_CLI_H

#include <stdio.h>

//   vmdtool pack SOURCE.txt -o FILE.VMD
//   vmdtool dump FILE.VMD
// Returns the exit status: 0 done, 1 failed, 2 wrong usage.
int RunVmdTool(int argc, char **argv, FILE *pOut, FILE *pErr);

#endif
