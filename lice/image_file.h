#pragma once
// Opening an image file by its UTF-8 name for binary reading (platform-specific).

#include <cstdio>

// Returns the open file or null; the caller closes it.
FILE* OpenImageFileForReading(const char* utf8Name);
