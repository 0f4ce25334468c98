// Brindlow as the formats that carry the editor in the plug-in's own module make it.
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

KyvBrindlow* MakeKyvBrindlow()
{
  KyvBrindlow* plug = new KyvBrindlow();
  plug->AttachEditor(new KyvBrindlowGraphics(plug));
  return plug;
}
