// Giving the memory that freed blocks leave behind back to the system.
#pragma once

namespace tolvan {

// After a whole library has been copied, replaced or indexed, the blocks of the old one
// are free but their pages stay with the process, scattered between live blocks where
// the allocator would otherwise keep them for good. This returns those pages (where the
// C library allows it; elsewhere it does nothing).
void release_unused_memory();

}  // namespace tolvan
