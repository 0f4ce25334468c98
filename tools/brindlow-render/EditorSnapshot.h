#pragma once

#include <string>
#include <vector>

class PluginHost;
struct RenderOptions;

// --editor-snapshot: the picture of Brindlow's editor panel for the state the plug-in was
// brought into (--program, --set), written as a PNG. The panel is painted by a Brindlow
// made in this process from the same code as the module, given the loaded plug-in's
// parameter values through the VST interface; with --splash the splash screen shows, as on
// the first opening of the editor; with --scale it is drawn at that scale.
int RunEditorSnapshot(PluginHost& host, const RenderOptions& options);

// Paints the panel of an in-process Brindlow whose parameters take `normalized` (in
// parameter order) at `scale` (1 ... 3, as a host would ask) and writes it to `path`.
// False with a reason in `error` on failure.
bool WriteBrindlowEditorSnapshot(const std::vector<float>& normalized, bool showSplash, const std::string& path,
                                 std::string& error, double scale = 1.0);
