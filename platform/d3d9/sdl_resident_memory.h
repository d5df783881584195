// What stays resident of the memory only loading and start-up needed.
#pragma once

namespace corvane {

// Lets go of the process's read-only library pages that are still as in
// their files. Loading the GL driver reads tens of MiB of them that it never
// needs again (its compiler's relocation and symbol tables, start-up code);
// they stay in the kernel's page cache, and a page used again comes back
// with a minor page fault. Pages that differ from the file (relocated
// read-only data) are kept.
void ReleaseUnmodifiedLibraryPages();

// Once start-up is over: returns the free pages its temporaries (decoded
// pictures and sounds) left inside the heap, and from then on gives every
// block of 1 MiB or more a mapping of its own, so that the buffers the GL
// driver replaces while frames are drawn go back when freed instead of
// leaving holes in the heap.
void SettleHeapAfterStartUp();

}  // namespace corvane
