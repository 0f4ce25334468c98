// IPlugLV2Info: what a product tells the LV2 adapters and the Turtle generator beyond its
// IPlugInfo: URIs, port symbols and binaries. The DSP binary, the UI binary and the
// generator all read the same object, so the bundle's description and its binaries agree.
//
// Port layout, the same in every plug-in of the bundle (the UI relies on it): ports
// 0 ... paramCount - 1 are the parameters' control inputs in parameter order, then the
// audio inputs, then the audio outputs, then (where the product has them) the read-out
// ports: the view switch and the read-outs. Indices and symbols are the identity of
// saved sessions: ports are only ever added at the end.
#pragma once

#include "IPlugInfo.h"

// A control port that is no parameter of the plug-in.
struct IPlugLV2ControlPort
{
  const char* symbol; // never changes
  const char* name;
  float minimum, maximum;
  const char* unit;   // a units: vocabulary term ("units:hz"), or null
};

// What the DSP shows its UI beside the parameters (an LV2 UI cannot reach the DSP): an
// input the UI sets to 1 while it shows the read-outs and to 0 when it hides them or
// closes (default 0; no parameter, hosts neither show nor automate it), and output
// ports the DSP writes at the end of every run.
struct IPlugLV2Readouts
{
  IPlugLV2ControlPort view;
  const IPlugLV2ControlPort* outputs;
  int outputCount;
};

// One plug-in of the bundle: one of the product's channel configurations.
struct IPlugLV2Variant
{
  const char* uri;        // the plug-in's URI; never changes once released
  const char* nameSuffix; // appended to the effect name ("" for none)
  int inputs;             // audio inputs: 1 (mono) or 2 (stereo), a legal configuration
  int outputs;
};

struct IPlugLV2Info
{
  const IPlugInfo* info;
  const char* const* parameterSymbols; // one lv2:symbol per parameter; never change
  // Audio ports: a mono input is [0], stereo inputs [1] and [2] (see InputPort()); one
  // output each. Symbols never change; names are what hosts show.
  const char* const* inputSymbols;
  const char* const* inputNames;
  const char* const* outputSymbols;
  const char* const* outputNames;
  const IPlugLV2Variant* variants;
  int variantCount;
  const char* uiUri;           // the one X11 UI every variant shares
  const char* stateKeyUri;     // the state property holding the plug-in's chunk
  const char* presetUriPrefix; // a factory preset's URI: prefix + program number
  int factoryPresetCount;      // programs 0 ... n - 1 become presets (the rest are user slots)
  const char* dspBinary;       // file names inside the bundle
  const char* uiBinary;
  const char* descriptionFile; // the plug-ins' Turtle file, next to manifest.ttl
  const IPlugLV2Readouts* readouts; // null: none

  // Port index of the first audio input and of the first audio output.
  int FirstInputPort() const { return info->paramCount; }
  int FirstOutputPort(const IPlugLV2Variant& v) const { return info->paramCount + v.inputs; }
  // The view switch, then the read-outs (see IPlugLV2Readouts); -1 without them.
  int ViewPort(const IPlugLV2Variant& v) const { return readouts ? info->paramCount + v.inputs + v.outputs : -1; }
  int FirstReadoutPort(const IPlugLV2Variant& v) const { return readouts ? ViewPort(v) + 1 : -1; }
  int ReadoutCount() const { return readouts ? readouts->outputCount : 0; }
  int PortCount(const IPlugLV2Variant& v) const
  {
    return info->paramCount + v.inputs + v.outputs + (readouts ? 1 + readouts->outputCount : 0);
  }
  // Where input of variant v finds its symbol and name.
  int InputPort(const IPlugLV2Variant& v, int input) const { return v.inputs == 1 ? 0 : 1 + input; }
};
