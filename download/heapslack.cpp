#include "download/heapslack.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace HeapSlack {

void keepForDownloads()
{
#ifdef __GLIBC__
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
#endif
}

} // namespace HeapSlack
