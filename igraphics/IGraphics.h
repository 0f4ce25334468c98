// IGraphics: what the plug-in base needs of an attached editor.
#pragma once

class IGraphics
{
public:
  virtual ~IGraphics() {}

  // Moves the controls bound to a parameter to value (real, or normalised 0 ... 1).
  virtual void PushParameterToControls(int paramIdx, double value, bool isNormalized) = 0;
  // Creates the off-screen surface the editor paints into.
  virtual void CreateDrawSurface() = 0;
};
