#include "IPlugLV2UI.h"

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

const LV2UI_Idle_Interface kIdleInterface = {&IdleCallback};
const LV2UI_Show_Interface kShowInterface = {&ShowCallback, &HideCallback};
} // namespace

IPlugLV2UI::IPlugLV2UI(const IPlugLV2UIEntry& entry, LV2UI_Write_Function write, LV2UI_Controller controller,
                       const LV2_Feature* const* features)
  : mEntry(entry), mDefinitions(*entry.lv2->info), mWrite(write), mController(controller)
{
  mParent = const_cast<void*>(Feature(features, LV2_UI__parent));
  mTouch = static_cast<const LV2UI_Touch*>(Feature(features, LV2_UI__touch));
  mResize = static_cast<const LV2UI_Resize*>(Feature(features, LV2_UI__resize));
  mEditor = entry.hooks.make(this);
  mEditor->CreateDrawSurface();
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
  if (mResize && mResize->ui_resize)
    mResize->ui_resize(mResize->handle, mEditor->EditorWidth(), mEditor->EditorHeight());
  return mEditor->EditorWindowId();
}

void IPlugLV2UI::PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
  if (format != 0 || size != sizeof(float) || !buffer || int64_t(port) >= mDefinitions.ParameterCount()) return;
  float value;
  std::memcpy(&value, buffer, sizeof value);
  if (!std::isfinite(value)) return;
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

void IPlugLV2UI::ResizeEditorRect(int width, int height)
{
  if (mResize && mResize->ui_resize) mResize->ui_resize(mResize->handle, width, height);
}

// ---- The descriptor's callbacks ----

LV2UI_Handle IPlugLV2UI::Instantiate(const LV2UI_Descriptor* descriptor, const char*, const char*,
                                     LV2UI_Write_Function write, LV2UI_Controller controller,
                                     LV2UI_Widget* widget, const LV2_Feature* const* features)
{
  if (!descriptor) return nullptr;
  const auto& entry = *reinterpret_cast<const IPlugLV2UIEntry*>(descriptor);
  IPlugLV2UI* ui = nullptr;
  try
  {
    ui = new (std::nothrow) IPlugLV2UI(entry, write, controller, features);
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
