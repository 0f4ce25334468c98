// Trace facility: framework operations report what they do here. It is silent unless
// the environment variable BRINDLOW_TRACE names a file when the first record comes;
// then every record goes to the end of that file, one line each, with the local time
// to the millisecond, a short thread number, the operation and its source line:
//
//   2026-12-08 09:41:07.123 +0100 t1 IPlugVST::VSTDispatcher:140 0(effOpen):0:0
//
// Records are never written on an audio thread and never make one wait: a record
// emitted on a thread that ran a processing callback is dropped (and counted in the
// file), and records from other threads are kept in memory until FlushTrace, which the
// adapter calls at the end of each dispatcher call but effProcessEvents (an audio-thread
// opcode) once it released the plug-in's lock, and the base after SetParameterFromGUI.
#pragma once

// Records one trace line: the reporting operation, its source line and a printf-style
// format. Any thread; on an audio thread the record is dropped without waiting.
void EmitTrace(const char* functionName, int line, const char* format, ...)
#if defined(__GNUC__)
  __attribute__((format(printf, 3, 4)))
#endif
  ;

// Writes the records kept so far to the trace file. Call it without holding the
// plug-in's lock; on an audio thread, or with the trace off, it does nothing.
void FlushTrace();

// Marks the calling thread as an audio thread for the life of the process: the
// processing callbacks call it at every block. Lock-free and allocation-free.
void MarkAudioThreadForTrace();

// Whether the trace writes to a file.
bool TraceIsOn();

// Points the trace at the file path (appended to), or switches it off for a null or
// empty path; records kept for the previous file are written to it first. Answers
// whether a file is open. BRINDLOW_TRACE is read this way once, at the first record;
// a file that cannot be opened leaves the trace off, with one line on stderr.
// Not for the audio thread.
bool TraceToFile(const char* path);

// The current local time as "YYYYMMDD HH:MM " followed by the capital letters of the
// time-zone name. The text lives in one shared buffer that every call overwrites.
const char* TraceTimestamp();
