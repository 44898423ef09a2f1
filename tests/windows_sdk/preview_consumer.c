/* A C host of VELMORAZ: without a cover sheet the preview opens nothing
 * and returns 0. Returns 0 when it does. */
#include <velmoraz.h>

#include "consumer.h"

int CheckPreview(void)
{
    return DispCheckFcsWindow(NULL, NULL, 0, 0, 0) != 0;
}
