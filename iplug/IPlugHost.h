// Host identification from the host's product string, and packed version words.
#pragma once

enum EHost
{
  kHostUninit = -1,
  kHostUnknown = 0,
  kHostReaper = 1,
  kHostCubase = 3,
  kHostNuendo = 4,
  kHostSonar = 5,
  kHostFL = 7,
  kHostSamplitude = 8,
  kHostAbletonLive = 9,
  kHostMelodyneStudio = 12,
  kHostVSTScanner = 13,
  kHostAULab = 14,
  kHostForte = 15,
  kHostChainer = 16,
  kHostAudition = 17,
  kHostOrion = 18,
  kHostSAWStudio = 20,
  kHostLogic = 21,
  kHostDigitalPerformer = 22,
};

// The host identifier for a product string (case-insensitive substring search of the
// known host names in a fixed order); 0 for an unknown, empty or null string.
int LookUpHost(const char* productString);

// Converts a decimal version report a*10000 + b*100 + c into the packed form 0xaaaabbcc.
int PackDecimalVersion(int decimalVersion);

// Formats a packed version word: "v%d.%d.%02d", or "v%d.%02d" when the revision is 0.
void FormatVersionText(int versionWord, char* out, int outSize);
