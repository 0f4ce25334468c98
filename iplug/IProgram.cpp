#include "IProgram.h"

#include <cstdio>
#include <cstring>

IProgram::IProgram(int slotNumber)
{
  std::snprintf(mName, sizeof mName, "- %d -", slotNumber);
}

void IProgram::SetName(const char* name)
{
  if (!name) return;
  std::snprintf(mName, sizeof mName, "%s", name);
}
