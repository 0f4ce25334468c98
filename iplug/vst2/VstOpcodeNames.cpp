#include "VstOpcodeNames.h"

namespace
{
struct OpcodeInfo
{
  const char* name;
  bool query;
};

// Indexed by opcode; the static_assert below keeps it in step with vst24.h.
const OpcodeInfo kOpcodes[] = {
  {"effOpen", false},
  {"effClose", false},
  {"effSetProgram", false},
  {"effGetProgram", true},
  {"effSetProgramName", false},
  {"effGetProgramName", true},
  {"effGetParamLabel", true},
  {"effGetParamDisplay", true},
  {"effGetParamName", true},
  {"effGetVu", true},
  {"effSetSampleRate", false},
  {"effSetBlockSize", false},
  {"effMainsChanged", false},
  {"effEditGetRect", true},
  {"effEditOpen", false},
  {"effEditClose", false},
  {"effEditDraw", true},
  {"effEditMouse", true},
  {"effEditKey", true},
  {"effEditIdle", true},
  {"effEditTop", false},
  {"effEditSleep", false},
  {"effIdentify", true},
  {"effGetChunk", false}, // the host saves the state: worth a line
  {"effSetChunk", false},
  {"effProcessEvents", true}, // one per block, from the audio thread
  {"effCanBeAutomated", true},
  {"effString2Parameter", false},
  {"effGetNumProgramCategories", true},
  {"effGetProgramNameIndexed", true},
  {"effCopyProgram", false},
  {"effConnectInput", false},
  {"effConnectOutput", false},
  {"effGetInputProperties", true},
  {"effGetOutputProperties", true},
  {"effGetPlugCategory", true},
  {"effGetCurrentPosition", true},
  {"effGetDestinationBuffer", true},
  {"effOfflineNotify", false},
  {"effOfflinePrepare", false},
  {"effOfflineRun", false},
  {"effProcessVarIo", false},
  {"effSetSpeakerArrangement", false},
  {"effSetBlockSizeAndSampleRate", false},
  {"effSetBypass", false},
  {"effGetEffectName", true},
  {"effGetErrorText", true},
  {"effGetVendorString", true},
  {"effGetProductString", true},
  {"effGetVendorVersion", true},
  {"effVendorSpecific", true}, // display texts for the host's own values
  {"effCanDo", true},          // traced with its text by the dispatcher
  {"effGetTailSize", true},
  {"effIdle", true},
  {"effGetIcon", true},
  {"effSetViewPosition", false},
  {"effGetParameterProperties", true},
  {"effKeysRequired", true},
  {"effGetVstVersion", true},
  {"effEditKeyDown", true},
  {"effEditKeyUp", true},
  {"effSetEditKnob", false},
  {"effGetMidiProgramName", true},
  {"effGetCurrentMidiProgram", true},
  {"effGetMidiProgramCategory", true},
  {"effHasMidiProgramsChanged", true},
  {"effGetMidiKeyName", true},
  {"effBeginSetProgram", false},
  {"effEndSetProgram", false},
  {"effGetSpeakerArrangement", true},
  {"effShellGetNextPlugin", true},
  {"effStartProcess", false},
  {"effStopProcess", false},
  {"effSetTotalSampleToProcess", false},
  {"effSetPanLaw", false},
  {"effBeginLoadBank", false},
  {"effBeginLoadProgram", false},
  {"effSetProcessPrecision", false},
  {"effGetNumMidiInputChannels", true},
  {"effGetNumMidiOutputChannels", true},
};
constexpr int kOpcodeCount = static_cast<int>(sizeof kOpcodes / sizeof kOpcodes[0]);
static_assert(kOpcodeCount == effGetNumMidiOutputChannels + 1, "one entry for every dispatcher opcode");

bool Known(VstInt32 opcode)
{
  return opcode >= 0 && opcode < kOpcodeCount;
}
} // namespace

const char* VstOpcodeName(VstInt32 opcode)
{
  return Known(opcode) ? kOpcodes[opcode].name : "unknown";
}

bool VstOpcodeIsQuery(VstInt32 opcode)
{
  return Known(opcode) && kOpcodes[opcode].query;
}
