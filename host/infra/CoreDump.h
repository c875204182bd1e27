#pragma once

#include <string>

// Writes a core image of the running process to in_strPath, which it creates or replaces, and goes
// on running. gdb, started for the purpose, attaches to the process and writes the image with its
// generate-core-file: a debugger stops every thread and reads each one's registers, so the image
// shows what every thread was doing, not only the caller. Memory never written is left out, as the
// kernel's own core leaves it out. Meanwhile the process lets its own descendants trace it, for where
// the kernel lets only ancestors trace. False, with the reason logged, when the path cannot be
// written, gdb cannot be started or it wrote no image; no file is left then.
// Called on any thread; blocks until the image is written.
bool dumpCore(const std::string& in_strPath);
