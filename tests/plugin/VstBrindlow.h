// Brindlow made as a VST 2.4 host makes it (entry point, editor attached), held like a
// pointer to the product, with the entry object beside it. Closes the plug-in when it goes.
#pragma once

#include <utility>

#include "IPlugVST.h"
#include "KyvBrindlow.h"
#include "KyvBrindlowEditor.h"

class VstBrindlowPtr
{
public:
  VstBrindlowPtr() = default;
  explicit VstBrindlowPtr(audioMasterCallback hostCallback)
    : mEffect(CreateVSTPlugin(hostCallback, []() -> IPlugBase* { return MakeKyvBrindlow(); }))
  {
  }
  VstBrindlowPtr(VstBrindlowPtr&& other) noexcept : mEffect(std::exchange(other.mEffect, nullptr)) {}
  VstBrindlowPtr& operator=(VstBrindlowPtr&& other) noexcept
  {
    if (this != &other)
    {
      reset();
      mEffect = std::exchange(other.mEffect, nullptr);
    }
    return *this;
  }
  ~VstBrindlowPtr() { reset(); }

  void reset()
  {
    if (mEffect) mEffect->dispatcher(mEffect, effClose, 0, 0, nullptr, 0.0f);
    mEffect = nullptr;
  }
  // Forgets the plug-in without closing it (the test closed it itself).
  AEffect* release() { return std::exchange(mEffect, nullptr); }
  KyvBrindlow* get() const { return static_cast<KyvBrindlow*>(IPlugVST::PlugOf(mEffect)); }
  KyvBrindlow* operator->() const { return get(); }
  KyvBrindlow& operator*() const { return *get(); }
  AEffect* GetAEffect() const { return mEffect; }
  IPlugVST* Adapter() const { return IPlugVST::FromAEffect(mEffect); }

private:
  AEffect* mEffect = nullptr;
};
