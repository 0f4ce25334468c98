#pragma once

#include <cstdint>
#include <string>

// The number of frames a WAV or AIFF file's header announces, read from the header
// itself: libsndfile reports only the frames a cut-short file still holds, so this is
// how a missing end is noticed. -1 for other formats, a header that announces no
// definite length (the 0 or 0xFFFFFFFF sizes of files written as a stream), or a
// sample encoding whose frame size the header does not give.
int64_t HeaderFrameCount(const std::string& path);
