#include "IPlugLV2UI.h"

#include <lv2/atom/atom.h>

#include <cmath>
#include <cstring>
#include <new>

#include "IPlugTrace.h"

namespace
{
const void* Feature(const LV2_Feature* const* features, const char* uri)
{
  for (const LV2_Feature* const* f = features; f && *f; ++f)
    if ((*f)->URI && std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  return nullptr;
}

IPlugLV2UI* UI(LV2UI_Handle handle)
{
  return static_cast<IPlugLV2UI*>(handle);
}

int IdleCallback(LV2UI_Handle handle)
{
  return UI(handle)->Idle();
}

int ShowCallback(LV2UI_Handle handle)
{
  return UI(handle)->Show();
}

int HideCallback(LV2UI_Handle handle)
{
  return UI(handle)->Hide();
}

uint32_t GetOptionsCallback(LV2_Handle handle, LV2_Options_Option* options)
{
  return UI(handle)->GetOptions(options);
}

uint32_t SetOptionsCallback(LV2_Handle handle, const LV2_Options_Option* options)
{
  return UI(handle)->SetOptions(options);
}

// Offered by the UI, the host passes the UI's handle as the feature handle.
int HostResizedCallback(LV2UI_Feature_Handle handle, int width, int height)
{
  return handle ? UI(handle)->HostResized(width, height) : 1;
}

const LV2UI_Idle_Interface kIdleInterface = {&IdleCallback};
const LV2UI_Show_Interface kShowInterface = {&ShowCallback, &HideCallback};
const LV2_Options_Interface kOptionsInterface = {&GetOptionsCallback, &SetOptionsCallback};
const LV2UI_Resize kResizeInterface = {nullptr, &HostResizedCallback};
} // namespace

IPlugLV2UI::IPlugLV2UI(const IPlugLV2UIEntry& entry, const char* pluginUri, LV2UI_Write_Function write,
                       LV2UI_Controller controller, const LV2_Feature* const* features)
  : mEntry(entry), mDefinitions(*entry.lv2->info), mWrite(write), mController(controller)
{
  const IPlugLV2Info& lv2 = *entry.lv2;
  for (int v = 0; v < lv2.variantCount && lv2.readouts && pluginUri; ++v)
  {
    if (std::strcmp(lv2.variants[v].uri, pluginUri) != 0) continue;
    mViewPort = lv2.ViewPort(lv2.variants[v]);
    mReadouts.assign(lv2.ReadoutCount(), NAN);
  }
  mParent = const_cast<void*>(Feature(features, LV2_UI__parent));
  mTouch = static_cast<const LV2UI_Touch*>(Feature(features, LV2_UI__touch));
  mResize = static_cast<const LV2UI_Resize*>(Feature(features, LV2_UI__resize));
  if (const auto* map = static_cast<const LV2_URID_Map*>(Feature(features, LV2_URID__map)); map && map->map)
  {
    mScaleFactorKey = map->map(map->handle, LV2_UI__scaleFactor);
    mFloatType = map->map(map->handle, LV2_ATOM__Float);
  }
  mEditor = entry.hooks.make(this, mViewPort >= 0 ? static_cast<IPlugLV2UIReadouts*>(this) : nullptr);
  mEditor->CreateDrawSurface();
  // The host's scale before the widget is made, so that it opens at its size.
  if (const auto* options = static_cast<const LV2_Options_Option*>(Feature(features, LV2_OPTIONS__options)))
    TakeScaleFactor(options);
  // The defaults until the host reports the ports' values.
  for (int i = 0; i < mDefinitions.ParameterCount(); ++i)
    mEditor->PushParameterToControls(i, mDefinitions.ParameterAt(i)->Value(), false);
}

IPlugLV2UI::~IPlugLV2UI()
{
  mEditor->CloseEditorWindow();
  mEntry.hooks.release(mEditor);
}

uintptr_t IPlugLV2UI::OpenInParent()
{
  if (!mParent || !mEditor->OpenEditorWindow(mParent)) return 0;
  TellHostSize();
  return mEditor->EditorWindowId();
}

void IPlugLV2UI::PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
  if (format != 0 || size != sizeof(float) || !buffer) return;
  float value;
  std::memcpy(&value, buffer, sizeof value);
  if (!std::isfinite(value)) return;
  if (mViewPort >= 0 && int64_t(port) > mViewPort && int64_t(port) - mViewPort - 1 < int64_t(mReadouts.size()))
  {
    mReadouts[port - uint32_t(mViewPort) - 1] = value;
    return;
  }
  if (int64_t(port) >= mDefinitions.ParameterCount()) return;
  IParameter* param = mDefinitions.ParameterAt(int(port));
  const double clamped = std::fmin(std::fmax(double(value), param->Minimum()), param->Maximum());
  mEditor->PushParameterToControls(int(port), clamped, false);
}

int IPlugLV2UI::Idle()
{
  mEditor->Idle();
  return 0;
}

int IPlugLV2UI::Show()
{
  if (mEditor->EditorWindowOpen()) return 0;
  return mEditor->OpenTopLevelEditorWindow() ? 0 : 1;
}

int IPlugLV2UI::Hide()
{
  mEditor->CloseEditorWindow();
  return 0;
}

uint32_t IPlugLV2UI::TakeScaleFactor(const LV2_Options_Option* options)
{
  for (const LV2_Options_Option* o = options; o && o->key; ++o)
  {
    if (o->context != LV2_OPTIONS_INSTANCE || !mScaleFactorKey || o->key != mScaleFactorKey) continue;
    if (o->type != mFloatType || o->size != sizeof(float) || !o->value) return LV2_OPTIONS_ERR_BAD_VALUE;
    float scale;
    std::memcpy(&scale, o->value, sizeof scale);
    return mEditor->SetHostScale(double(scale)) ? LV2_OPTIONS_SUCCESS : LV2_OPTIONS_ERR_BAD_VALUE;
  }
  return LV2_OPTIONS_ERR_BAD_KEY;
}

uint32_t IPlugLV2UI::GetOptions(LV2_Options_Option* options)
{
  uint32_t status = LV2_OPTIONS_SUCCESS;
  for (LV2_Options_Option* o = options; o && o->key; ++o)
  {
    if (o->context != LV2_OPTIONS_INSTANCE || !mScaleFactorKey || o->key != mScaleFactorKey)
    {
      status |= LV2_OPTIONS_ERR_BAD_KEY;
      continue;
    }
    mScaleAnswer = float(mEditor->EditorScale());
    o->size = sizeof mScaleAnswer;
    o->type = mFloatType;
    o->value = &mScaleAnswer;
  }
  return status;
}

uint32_t IPlugLV2UI::SetOptions(const LV2_Options_Option* options)
{
  const uint32_t status = TakeScaleFactor(options);
  // The editor resized its window to the host's scale and called nothing back.
  if (status == LV2_OPTIONS_SUCCESS) TellHostSize();
  return status;
}

int IPlugLV2UI::HostResized(int width, int height)
{
  if (width == mEditor->EditorWidth() && height == mEditor->EditorHeight()) return 0;
  const bool exact = mEditor->SetEditorSizeFromHost(width, height);
  // The host now holds a widget of width x height; the editor may have taken the nearest
  // size of its aspect ratio instead, which the host is told.
  mToldWidth = width;
  mToldHeight = height;
  if (!exact) TellHostSize();
  return exact ? 0 : 1;
}

void IPlugLV2UI::TellHostSize()
{
  const int width = mEditor->EditorWidth(), height = mEditor->EditorHeight();
  if (!mResize || !mResize->ui_resize || (width == mToldWidth && height == mToldHeight)) return;
  mToldWidth = width;
  mToldHeight = height;
  mResize->ui_resize(mResize->handle, width, height);
}

float IPlugLV2UI::Readout(int i) const
{
  return i >= 0 && size_t(i) < mReadouts.size() ? mReadouts[size_t(i)] : NAN;
}

void IPlugLV2UI::SetViewShown(bool shown)
{
  if (mViewPort < 0 || !mWrite || mViewWritten == int(shown)) return;
  mViewWritten = int(shown);
  const float value = shown ? 1.0f : 0.0f;
  mWrite(mController, uint32_t(mViewPort), sizeof value, 0, &value);
}

void IPlugLV2UI::Touch(int index, bool grabbed)
{
  if (mTouch && mTouch->touch && index >= 0 && index < mDefinitions.ParameterCount())
    mTouch->touch(mTouch->handle, uint32_t(index), grabbed);
}

void IPlugLV2UI::HostBeginEdit(int index)
{
  Touch(index, true);
}

void IPlugLV2UI::SetParameterFromGUI(int index, double normalized)
{
  IParameter* param = mDefinitions.ParameterAt(index);
  if (!param || std::isnan(normalized) || !mWrite) return;
  // The port carries the real value, as the parameter would set it from this position.
  const float value = float(param->FromNormalized(std::fmin(std::fmax(normalized, 0.0), 1.0)));
  mWrite(mController, uint32_t(index), sizeof value, 0, &value);
}

void IPlugLV2UI::HostEndEdit(int index)
{
  Touch(index, false);
}

void IPlugLV2UI::ResizeEditorRect(int, int)
{
  // width x height are the editor's size. The editor sets its size while it is being
  // made, before this object holds it: the widget's first size is told when it opens.
  if (mEditor) TellHostSize();
}

// ---- The descriptor's callbacks ----

LV2UI_Handle IPlugLV2UI::Instantiate(const LV2UI_Descriptor* descriptor, const char* pluginUri, const char*,
                                     LV2UI_Write_Function write, LV2UI_Controller controller,
                                     LV2UI_Widget* widget, const LV2_Feature* const* features)
{
  if (!descriptor) return nullptr;
  const auto& entry = *reinterpret_cast<const IPlugLV2UIEntry*>(descriptor);
  IPlugLV2UI* ui = nullptr;
  try
  {
    ui = new (std::nothrow) IPlugLV2UI(entry, pluginUri, write, controller, features);
  }
  catch (...)
  {
    // No exception may cross into the host.
    ui = nullptr;
  }
  if (!ui)
  {
    EmitTrace("lv2ui instantiate", __LINE__, "the editor could not be made");
    return nullptr;
  }
  const uintptr_t window = ui->OpenInParent();
  if (widget) *widget = reinterpret_cast<LV2UI_Widget>(window);
  // Embedded in a parent that took no window: nothing to show the host.
  if (ui->mParent && !window)
  {
    EmitTrace("lv2ui instantiate", __LINE__, "the editor window could not be opened");
    delete ui;
    return nullptr;
  }
  return ui;
}

void IPlugLV2UI::Cleanup(LV2UI_Handle handle)
{
  delete UI(handle);
}

void IPlugLV2UI::PortEventCallback(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
                                   const void* buffer)
{
  UI(handle)->PortEvent(port, size, format, buffer);
}

const void* IPlugLV2UI::ExtensionData(const char* uri)
{
  if (!uri) return nullptr;
  if (std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdleInterface;
  if (std::strcmp(uri, LV2_UI__showInterface) == 0) return &kShowInterface;
  if (std::strcmp(uri, LV2_OPTIONS__interface) == 0) return &kOptionsInterface;
  if (std::strcmp(uri, LV2_UI__resize) == 0) return &kResizeInterface;
  return nullptr;
}

void FillLV2UIDescriptor(IPlugLV2UIEntry& entry)
{
  entry.descriptor.URI = entry.lv2->uiUri;
  entry.descriptor.instantiate = &IPlugLV2UI::Instantiate;
  entry.descriptor.cleanup = &IPlugLV2UI::Cleanup;
  entry.descriptor.port_event = &IPlugLV2UI::PortEventCallback;
  entry.descriptor.extension_data = &IPlugLV2UI::ExtensionData;
}
