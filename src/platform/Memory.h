// Process-wide settings of the memory allocator.
#pragma once

namespace gs {

// Call first thing in main, before any thread starts. A generation job keeps every result it
// makes: grown from a heap of its own thread, that heap would be extended one page at a time
// with a system call each. One heap for all threads, grown in large steps, avoids that.
void TuneAllocator();

} // namespace gs
