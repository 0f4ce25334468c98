// A shared object that loads but has no VST entry point.
extern "C" __attribute__((visibility("default"))) int NotAnEntryPoint()
{
  return 42;
}
