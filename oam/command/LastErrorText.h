#pragma once
// The text of the last operating-system error, for the "Error executing command" and "Error
// getting OM" lines: the C library's error number, or the system's last error when that is 0.

const char* lastErrorText();
