// The plug-in factory (IPluginFactory, 2 and 3 on one object): one audio-effect class,
// the component that is also its controller. Called on the host's UI thread.
#include "IPlugVST3Entry.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "IPlugVST3Text.h"

using namespace vst3;

namespace
{
std::atomic<int> gEntries{0};

class Factory final : public IPluginFactory3
{
public:
  const IPlugVST3Product* product = nullptr;

  tresult VST3_API queryInterface(const TUID iid, void** obj) override
  {
    if (!obj) return kInvalidArgument;
    if (SameUid(iid, FUnknown_iid.bytes) || SameUid(iid, IPluginFactory_iid.bytes) ||
        SameUid(iid, IPluginFactory2_iid.bytes) || SameUid(iid, IPluginFactory3_iid.bytes))
    {
      *obj = static_cast<IPluginFactory3*>(this);
      addRef();
      return kResultOk;
    }
    *obj = nullptr;
    return kNoInterface;
  }
  // The factory lives as long as the module: counting keeps hosts' bookkeeping honest.
  uint32 VST3_API addRef() override { return ++mRefCount; }
  uint32 VST3_API release() override { return mRefCount > 1 ? --mRefCount : 1; }

  tresult VST3_API getFactoryInfo(PFactoryInfo* info) override
  {
    if (!info) return kInvalidArgument;
    std::memset(info, 0, sizeof(*info));
    IPlugVST3Text::Copy(info->vendor, product->info().vendorName, sizeof(info->vendor));
    IPlugVST3Text::Copy(info->url, product->url, sizeof(info->url));
    IPlugVST3Text::Copy(info->email, product->email, sizeof(info->email));
    info->flags = kFactoryFlagUnicode;
    return kResultOk;
  }

  int32 VST3_API countClasses() override { return 1; }

  tresult VST3_API getClassInfo(int32 index, PClassInfo* info) override
  {
    if (index != 0 || !info) return kInvalidArgument;
    std::memset(info, 0, sizeof(*info));
    std::memcpy(info->cid, product->classId.bytes, sizeof(info->cid));
    info->cardinality = kManyInstances;
    IPlugVST3Text::Copy(info->category, kVstAudioEffectClass, sizeof(info->category));
    IPlugVST3Text::Copy(info->name, product->info().effectName, sizeof(info->name));
    return kResultOk;
  }

  tresult VST3_API getClassInfo2(int32 index, PClassInfo2* info) override
  {
    if (index != 0 || !info) return kInvalidArgument;
    std::memset(info, 0, sizeof(*info));
    PClassInfo base;
    getClassInfo(0, &base);
    std::memcpy(info->cid, base.cid, sizeof(info->cid));
    info->cardinality = base.cardinality;
    std::memcpy(info->category, base.category, sizeof(info->category));
    std::memcpy(info->name, base.name, sizeof(info->name));
    info->classFlags = 0;
    IPlugVST3Text::Copy(info->subCategories, product->subCategories, sizeof(info->subCategories));
    IPlugVST3Text::Copy(info->vendor, product->info().vendorName, sizeof(info->vendor));
    VersionText(info->version, sizeof(info->version));
    IPlugVST3Text::Copy(info->sdkVersion, kVstVersionString, sizeof(info->sdkVersion));
    return kResultOk;
  }

  tresult VST3_API getClassInfoUnicode(int32 index, PClassInfoW* info) override
  {
    PClassInfo2 narrow;
    if (!info || getClassInfo2(index, &narrow) != kResultOk) return kInvalidArgument;
    std::memset(info, 0, sizeof(*info));
    std::memcpy(info->cid, narrow.cid, sizeof(info->cid));
    info->cardinality = narrow.cardinality;
    std::memcpy(info->category, narrow.category, sizeof(info->category));
    IPlugVST3Text::ToUtf16(narrow.name, info->name, kNameSize);
    info->classFlags = narrow.classFlags;
    std::memcpy(info->subCategories, narrow.subCategories, sizeof(info->subCategories));
    IPlugVST3Text::ToUtf16(narrow.vendor, info->vendor, kVendorSize);
    IPlugVST3Text::ToUtf16(narrow.version, info->version, kVersionSize);
    IPlugVST3Text::ToUtf16(narrow.sdkVersion, info->sdkVersion, kVersionSize);
    return kResultOk;
  }

  tresult VST3_API createInstance(FIDString cid, FIDString iid, void** obj) override
  {
    if (!obj) return kInvalidArgument;
    *obj = nullptr;
    // Binary ids despite the type: compared as bytes.
    if (!cid || !iid || !SameUid(cid, product->classId.bytes)) return kNoInterface;
    IPlugVST3* plugin = new IPlugVST3(*product);
    const tresult result = static_cast<IComponent*>(plugin)->queryInterface(iid, obj);
    static_cast<IComponent*>(plugin)->release(); // the caller holds the queried reference, if any
    return result;
  }

  tresult VST3_API setHostContext(FUnknown*) override { return kResultOk; }

private:
  void VersionText(char* out, size_t size) const
  {
    const unsigned word = static_cast<unsigned>(product->info().vendorVersion);
    std::snprintf(out, size, "%u.%u.%u", word >> 16, (word >> 8) & 0xFF, word & 0xFF);
  }

  std::atomic<uint32> mRefCount{1};
};

Factory gFactory;
} // namespace

bool IPlugVST3Entry::Enter(void*)
{
  ++gEntries;
  return true;
}

bool IPlugVST3Entry::Exit()
{
  if (gEntries > 0) --gEntries;
  return true;
}

IPluginFactory* IPlugVST3Entry::Factory(const IPlugVST3Product& product)
{
  gFactory.product = &product;
  gFactory.addRef();
  return &gFactory;
}
