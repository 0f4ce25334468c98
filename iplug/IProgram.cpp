#include "IProgram.h"

#include "IPlugText.h"

#include <cstdio>
#include <cstring>

IProgram::IProgram(int slotNumber)
{
  std::snprintf(mName, sizeof mName, "- %d -", slotNumber);
}

void IProgram::SetName(const char* name)
{
  if (!name) return;
  CopyBoundedText(mName, name, sizeof mName);
}
