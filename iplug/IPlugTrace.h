// Trace facility: framework operations report what they do here. This product
// discards every record; the arguments are still formed by the callers.
#pragma once

// Records one trace line: the reporting operation, its source line and a printf-style format.
void EmitTrace(const char* functionName, int line, const char* format, ...);

// The current local time as "YYYYMMDD HH:MM " followed by the capital letters of the
// time-zone name. The text lives in one shared buffer that every call overwrites.
const char* TraceTimestamp();
