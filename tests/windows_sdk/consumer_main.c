/* Links both DLLs through their import libraries, as a host built with
 * them does, and calls each export once. */
#include <stdio.h>

#include "consumer.h"

int main(void)
{
    int encoder = CheckEncoder(), preview = CheckPreview();
    printf("encoder %d, preview %d (0 is right)\n", encoder, preview);
    return encoder != 0 || preview != 0;
}
