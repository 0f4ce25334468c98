// IPlugLV2Info: what a product tells the LV2 adapters and the Turtle generator beyond its
// IPlugInfo: URIs, port symbols and binaries. The DSP binary, the UI binary and the
// generator all read the same object, so the bundle's description and its binaries agree.
//
// Port layout, the same in every plug-in of the bundle (the UI relies on it): ports
// 0 ... paramCount - 1 are the parameters' control inputs in parameter order, then the
// audio inputs, then the audio outputs.
#pragma once

#include "IPlugInfo.h"

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

  // Port index of the first audio input and of the first audio output.
  int FirstInputPort() const { return info->paramCount; }
  int FirstOutputPort(const IPlugLV2Variant& v) const { return info->paramCount + v.inputs; }
  int PortCount(const IPlugLV2Variant& v) const { return info->paramCount + v.inputs + v.outputs; }
  // Where input of variant v finds its symbol and name.
  int InputPort(const IPlugLV2Variant& v, int input) const { return v.inputs == 1 ? 0 : 1 + input; }
};
