// IGraphics: what the plug-in base and the host adapter need of an attached editor.
#pragma once

class IGraphics
{
public:
  virtual ~IGraphics() {}

  // Moves the controls bound to a parameter to value (real, or normalised 0 ... 1).
  virtual void PushParameterToControls(int paramIdx, double value, bool isNormalized) = 0;
  // Creates the off-screen surface the editor paints into.
  virtual void CreateDrawSurface() = 0;
  // Opens the editor as a child of the host's window; answers the editor's window, or null.
  virtual void* OpenEditorWindow(void* parentWindow) = 0;
  virtual void CloseEditorWindow() = 0;
  // The editor's size in pixels.
  virtual int EditorWidth() const = 0;
  virtual int EditorHeight() const = 0;
};
