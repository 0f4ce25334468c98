#include "IPlugLV2Turtle.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "IPlugBase.h"

namespace
{
const char* const kPrefixes =
  "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
  "@prefix bufsz: <http://lv2plug.in/ns/ext/buf-size#> .\n"
  "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
  "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
  "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
  "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
  "@prefix pprop: <http://lv2plug.in/ns/ext/port-props#> .\n"
  "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
  "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
  "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
  "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
  "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
  "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
  "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";

// A Turtle string literal.
std::string Quoted(const char* text)
{
  std::string out = "\"";
  for (const char* c = text; *c; ++c)
  {
    if (*c == '"' || *c == '\\') out += '\\';
    out += *c;
  }
  return out + "\"";
}

std::string Uri(const char* uri)
{
  return std::string("<") + uri + ">";
}

// A decimal literal (never an integer one: float ports read xsd:decimal or xsd:double).
std::string Decimal(double value)
{
  char text[40];
  std::snprintf(text, sizeof text, "%.9g", value);
  std::string out = text;
  if (out.find_first_of(".eEn") == std::string::npos) out += ".0";
  return out;
}

// The units: vocabulary's unit for a parameter label, or null for none.
const char* UnitOfLabel(const char* label)
{
  static const char* const kUnits[][2] = {{"ms", "units:ms"}, {"s", "units:s"},   {"dB", "units:db"},
                                          {"Hz", "units:hz"}, {"kHz", "units:khz"}, {"%", "units:pc"}};
  for (const auto& unit : kUnits)
    if (std::strcmp(label, unit[0]) == 0) return unit[1];
  return nullptr;
}

std::string PresetUri(const IPlugLV2Info& lv2, int program)
{
  return Uri((std::string(lv2.presetUriPrefix) + std::to_string(program)).c_str());
}

std::string AppliesTo(const IPlugLV2Info& lv2)
{
  std::string out;
  for (int v = 0; v < lv2.variantCount; ++v) out += (v ? ", " : "") + Uri(lv2.variants[v].uri);
  return out;
}

void WriteControlPort(std::ostream& out, IPlugBase& plug, int index, const char* symbol, double defaultValue)
{
  IParameter* param = plug.ParameterAt(index);
  out << "  [\n    a lv2:InputPort, lv2:ControlPort ;\n    lv2:index " << index << " ;\n    lv2:symbol "
      << Quoted(symbol) << " ;\n    lv2:name " << Quoted(param->HostName()) << " ;\n";
  const bool integer = param->IsIntegerKind();
  if (integer)
  {
    const int lo = int(param->Minimum()), hi = int(param->Maximum());
    out << "    lv2:default " << int(defaultValue) << " ;\n    lv2:minimum " << lo << " ;\n    lv2:maximum " << hi
        << " ;\n    lv2:portProperty lv2:integer";
    if (param->DisplayTextCount() > 0)
    {
      out << ", lv2:enumeration ;\n    lv2:scalePoint";
      for (int v = lo; v <= hi; ++v)
        out << (v > lo ? ", " : " ") << "[ rdfs:label " << Quoted(param->DisplayTextFor(v)) << " ; rdf:value " << v
            << " ]";
    }
    out << " ;\n";
  }
  else
  {
    out << "    lv2:default " << Decimal(defaultValue) << " ;\n    lv2:minimum " << Decimal(param->Minimum())
        << " ;\n    lv2:maximum " << Decimal(param->Maximum()) << " ;\n";
    if (const char* unit = UnitOfLabel(param->HostLabel())) out << "    units:unit " << unit << " ;\n";
  }
  out << "  ]";
}

void WriteAudioPort(std::ostream& out, bool input, int index, const char* symbol, const char* name)
{
  out << "  [\n    a lv2:" << (input ? "Input" : "Output") << "Port, lv2:AudioPort ;\n    lv2:index " << index
      << " ;\n    lv2:symbol " << Quoted(symbol) << " ;\n    lv2:name " << Quoted(name) << " ;\n  ]";
}

// The read-outs' ports: no parameters, so hosts neither show nor automate them, and a host
// that leaves them unconnected loses nothing but the UI's view.
void WriteReadoutPorts(std::ostream& out, const IPlugLV2Info& lv2, const IPlugLV2Variant& variant)
{
  auto port = [&out](bool input, int index, const IPlugLV2ControlPort& p) {
    out << ",\n  [\n    a lv2:" << (input ? "Input" : "Output") << "Port, lv2:ControlPort ;\n    lv2:index " << index
        << " ;\n    lv2:symbol " << Quoted(p.symbol) << " ;\n    lv2:name " << Quoted(p.name) << " ;\n";
    if (input) out << "    lv2:default " << Decimal(p.minimum) << " ;\n";
    out << "    lv2:minimum " << Decimal(p.minimum) << " ;\n    lv2:maximum " << Decimal(p.maximum) << " ;\n";
    if (p.unit) out << "    units:unit " << p.unit << " ;\n";
    out << "    lv2:portProperty " << (input ? "lv2:toggled, lv2:connectionOptional, pprop:notAutomatic"
                                         : "lv2:connectionOptional")
        << ", pprop:notOnGUI ;\n  ]";
  };
  const IPlugLV2Readouts& r = *lv2.readouts;
  port(true, lv2.ViewPort(variant), r.view);
  for (int i = 0; i < r.outputCount; ++i) port(false, lv2.FirstReadoutPort(variant) + i, r.outputs[i]);
}

std::string Manifest(const IPlugLV2Info& lv2)
{
  std::ostringstream out;
  out << kPrefixes;
  for (int v = 0; v < lv2.variantCount; ++v)
    out << Uri(lv2.variants[v].uri) << "\n  a lv2:Plugin ;\n  lv2:binary <" << lv2.dspBinary
        << "> ;\n  rdfs:seeAlso <" << lv2.descriptionFile << "> .\n\n";
  out << Uri(lv2.uiUri) << "\n  a ui:X11UI ;\n  ui:binary <" << lv2.uiBinary << "> ;\n  rdfs:seeAlso <"
      << lv2.descriptionFile << "> .\n\n";
  IPlugBase plug(*lv2.info);
  for (int p = 0; p < lv2.factoryPresetCount && p < plug.PresetCount(); ++p)
    out << PresetUri(lv2, p) << "\n  a pset:Preset ;\n  lv2:appliesTo " << AppliesTo(lv2)
        << " ;\n  rdfs:seeAlso <presets.ttl> .\n\n";
  return out.str();
}

std::string Description(const IPlugLV2Info& lv2)
{
  IPlugBase plug(*lv2.info);
  const IPlugInfo& info = *lv2.info;
  std::ostringstream out;
  out << kPrefixes;
  for (int v = 0; v < lv2.variantCount; ++v)
  {
    const IPlugLV2Variant& variant = lv2.variants[v];
    out << Uri(variant.uri) << "\n  a lv2:Plugin, lv2:DelayPlugin, doap:Project ;\n  doap:name "
        << Quoted((std::string(info.effectName) + variant.nameSuffix).c_str()) << " ;\n  doap:maintainer [ foaf:name "
        << Quoted(info.vendorName) << " ] ;\n  lv2:minorVersion " << ((info.vendorVersion >> 8) & 0xff)
        << " ;\n  lv2:microVersion " << (info.vendorVersion & 0xff)
        << " ;\n  lv2:requiredFeature urid:map ;\n  lv2:optionalFeature lv2:hardRTCapable, opts:options ;\n"
        << "  opts:supportedOption bufsz:maxBlockLength ;\n  lv2:extensionData state:interface ;\n  ui:ui "
        << Uri(lv2.uiUri) << " ;\n  lv2:port\n";
    for (int i = 0; i < info.paramCount; ++i)
    {
      WriteControlPort(out, plug, i, lv2.parameterSymbols[i], plug.ParameterAt(i)->Value());
      out << ",\n";
    }
    for (int i = 0; i < variant.inputs; ++i)
    {
      const int k = lv2.InputPort(variant, i);
      WriteAudioPort(out, true, lv2.FirstInputPort() + i, lv2.inputSymbols[k], lv2.inputNames[k]);
      out << ",\n";
    }
    for (int i = 0; i < variant.outputs; ++i)
    {
      WriteAudioPort(out, false, lv2.FirstOutputPort(variant) + i, lv2.outputSymbols[i], lv2.outputNames[i]);
      if (i + 1 < variant.outputs) out << ",\n";
    }
    if (lv2.readouts) WriteReadoutPorts(out, lv2, variant);
    out << " .\n\n";
  }
  out << Uri(lv2.uiUri)
      << "\n  a ui:X11UI ;\n  lv2:requiredFeature ui:idleInterface ;\n"
         "  lv2:optionalFeature ui:parent, ui:touch, ui:resize, urid:map, opts:options ;\n"
         "  opts:supportedOption ui:scaleFactor ;\n"
         "  lv2:extensionData ui:idleInterface, ui:showInterface, ui:resize, opts:interface .\n";
  return out.str();
}

std::string Presets(const IPlugLV2Info& lv2)
{
  IPlugBase plug(*lv2.info);
  std::ostringstream out;
  out << kPrefixes;
  for (int p = 0; p < lv2.factoryPresetCount && p < plug.PresetCount(); ++p)
  {
    plug.RecallPreset(p);
    out << PresetUri(lv2, p) << "\n  a pset:Preset ;\n  lv2:appliesTo " << AppliesTo(lv2)
        << " ;\n  rdfs:label " << Quoted(plug.PresetName(p)) << " ;\n  lv2:port";
    for (int i = 0; i < plug.ParameterCount(); ++i)
    {
      IParameter* param = plug.ParameterAt(i);
      out << (i ? ", " : " ") << "[ lv2:symbol " << Quoted(lv2.parameterSymbols[i]) << " ; pset:value "
          << Decimal(param->Value()) << " ]";
    }
    out << " .\n\n";
  }
  return out.str();
}

bool WriteFile(const std::string& path, const std::string& text, std::string& error)
{
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  if (!file)
  {
    error = "cannot write " + path;
    return false;
  }
  return true;
}
} // namespace

bool WriteLV2Turtle(const IPlugLV2Info& lv2, const std::string& directory, std::string& error)
{
  if (!lv2.info || lv2.variantCount <= 0 || lv2.factoryPresetCount < 0)
  {
    error = "the LV2 description names no plug-in";
    return false;
  }
  for (int i = 0; i < lv2.info->paramCount; ++i)
  {
    if (!lv2.parameterSymbols[i] || !*lv2.parameterSymbols[i])
    {
      error = "parameter " + std::to_string(i) + " has no LV2 symbol";
      return false;
    }
  }
  if (const IPlugLV2Readouts* r = lv2.readouts)
  {
    bool named = r->view.symbol && *r->view.symbol && r->outputCount >= 0;
    for (int i = 0; named && i < r->outputCount; ++i) named = r->outputs[i].symbol && *r->outputs[i].symbol;
    if (!named)
    {
      error = "a read-out port has no LV2 symbol";
      return false;
    }
  }
  const std::string dir = directory.empty() || directory.back() == '/' ? directory : directory + "/";
  return WriteFile(dir + "manifest.ttl", Manifest(lv2), error) &&
         WriteFile(dir + lv2.descriptionFile, Description(lv2), error) &&
         WriteFile(dir + "presets.ttl", Presets(lv2), error);
}
