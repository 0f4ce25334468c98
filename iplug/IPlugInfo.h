// IPlugInfo: a product's description of itself, readable without making its DSP: every
// format adapter, the generators of format description files and an editor-only binary
// read it. It is plain data and two definition functions, the same in every binary.
#pragma once

class IPlugBase;

struct IPlugInfo
{
  const char* effectName;  // the name hosts show
  const char* productName; // may be empty
  const char* vendorName;
  int vendorVersion;       // packed 0xMMMMmmrr: major, minor, revision
  int uniqueID;            // VST unique ID (four characters)
  int mfrID;               // manufacturer ID (four characters)
  const char* channelIO;   // legal "in-out" channel pairs, space separated: "1-2 2-2"
  int paramCount;
  int presetCount;
  int latency;             // samples
  bool doesMidi;
  bool doesChunks;
  bool isInstrument;
  int editorWidth;         // the editor panel in pixels; 0 x 0 without an editor
  int editorHeight;

  // Defines every parameter of a fresh plug-in (names, ranges, defaults, texts).
  void (*defineParameters)(IPlugBase& plug);
  // Defines the factory presets, after the parameters, with every value at its default.
  void (*definePresets)(IPlugBase& plug);
};
