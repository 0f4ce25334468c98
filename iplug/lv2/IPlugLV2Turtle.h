// IPlugLV2Turtle: the bundle's Turtle files, written from a plug-in made from the product's
// description, so the description and the binaries can never disagree. Build time only.
#pragma once

#include <string>

#include "IPlugLV2Info.h"

// Writes manifest.ttl, the plug-ins' description (lv2.descriptionFile) and presets.ttl
// into directory (which must exist). Answers false with a message in error when a file
// cannot be written or the description is unusable.
bool WriteLV2Turtle(const IPlugLV2Info& lv2, const std::string& directory, std::string& error);
