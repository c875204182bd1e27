#pragma once

#include <string>

// Writes an ELF core image of the running process to in_strPath, which it creates or replaces,
// and goes on running. The image is a fork()ed copy of the process, written by that child
// itself from its own memory, so it needs no privilege, no debugger, and does not depend on
// the system's core pattern or core size limit. It holds the memory as a kernel core would
// (anonymous and written-to mappings, the first page of each mapped ELF file) and the calling
// thread's registers; the other threads' registers are not in it, as a forked child has only
// the calling thread. False when the file cannot be created or the image could not be written.
// Called on any thread; blocks until the image is written.
bool dumpCore(const std::string& in_strPath);
