// vmdtool entry point: the command line goes to RunVmdTool.
#include <stdio.h>
#include "vmdtool_cli.h"

int main(int argc, char **argv)
{
    return RunVmdTool(argc, argv, stdout, stderr);
}
