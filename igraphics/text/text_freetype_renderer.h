// The editor toolkit's text renderer on Linux: ITextStyle fonts become cached FreeType faces.
#pragma once

class ITextRenderer;

// The process-wide FreeType renderer (never destroyed before exit).
ITextRenderer* FreeTypeTextRenderer();

// Installs it as the toolkit's text renderer unless one is installed already; styles made
// afterwards get FreeType fonts.
void InstallFreeTypeTextRenderer();
