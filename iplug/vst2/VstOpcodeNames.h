// Names of the VST 2.4 dispatcher opcodes, for trace records.
#pragma once

#include "vst24.h"

// The opcode's name as hosts and the interface's documentation write it ("effOpen"),
// or "unknown" for a number the interface does not define.
const char* VstOpcodeName(VstInt32 opcode);

// Whether a call of this opcode asks for something without changing the plug-in:
// hosts repeat such calls constantly (display texts, names, capabilities), so the
// trace leaves them out. Unknown opcodes are not queries: a host sending one is news.
bool VstOpcodeIsQuery(VstInt32 opcode);
