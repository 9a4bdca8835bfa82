#pragma once
// A write past the file-size limit (ulimit -f) kills the process with SIGXFSZ before it can say a word,
// and leaves what it was writing half done. Ignored, the write fails with EFBIG instead: the program
// reports it in the system's words ("File too large") through its usual error paths, and an atomic
// file replacement leaves the old file as it was. Each program does this first thing in main().

void IgnoreFileSizeSignal();
