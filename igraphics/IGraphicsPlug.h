#pragma once
// For code that holds a whole plug-in (tests, tools, a product's own hooks): its editor
// as the toolkit's graphics object. Controls never need it: they know their graphics.

#include "IGraphicsLice.h"
#include "IPlugBase.h"

// The editor attached to |plug|, or null when none (or another kind) is attached.
inline IGraphicsLice* EditorOf(IPlugBase* plug)
{
  return plug ? dynamic_cast<IGraphicsLice*>(plug->Editor()) : nullptr;
}
