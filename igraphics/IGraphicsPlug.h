#pragma once
// What the toolkit uses of the plug-in base, in one place.

#include "IPlugBase.h"

class IGraphicsLice;

// The editor attached to |plug|, or null when none (or another kind) is attached.
IGraphicsLice* EditorOf(IPlugBase* plug);
