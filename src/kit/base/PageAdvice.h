#pragma once

#include <cstddef>

namespace tessellar::pages {

// Asks the kernel to back a buffer of megabytes with huge pages where it can. Filling such a
// buffer then costs a handful of page faults instead of one per 4 KiB page, which on a virtual
// machine is most of the time a large paste takes. Only the whole pages inside the buffer are
// advised; smaller buffers, and kernels that refuse, are left as they are.
void preferHuge(const void* data, std::size_t size);

// The same, and the pages are made present now in one call: for a buffer about to be written
// from end to end.
void prepareForWriting(void* data, std::size_t size);

} // namespace tessellar::pages
