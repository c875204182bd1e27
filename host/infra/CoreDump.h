#pragma once

#include <string>

// Writes an ELF core image of the running process to in_strPath, a path that must not exist yet, and
// goes on running. Every thread is stopped only while the process is forked, with its registers taken
// through the kernel's tracing interface; the forked copy writes the image from the memory as it was
// then, so the image shows what every thread was doing, not only the caller. Memory never written is
// left out, as the kernel's own core leaves it out. Meanwhile the process lets its own descendants
// trace it, for where the kernel lets only ancestors trace. The image is written beside the path and
// named only once whole. False, with the reason logged, when the path exists or cannot be written or
// no whole image was written; the path is untouched then and nothing is left beside it.
// Called on any thread; blocks until the image is written.
bool dumpCore(const std::string& in_strPath);
