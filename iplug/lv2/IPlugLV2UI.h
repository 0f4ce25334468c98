// IPlugLV2UI: the LV2 adapter of the UI binary (ui:X11UI). It holds no DSP: parameter
// definitions come from a plug-in base made from the product's description, values come
// from the host through port_event, and the editor's gestures go back to the host as
// port writes (ui:touch around them when the host offers it). An instance lives while
// the host shows it: embedded in the host's window (ui:parent) from instantiate to
// cleanup, or as a top-level window between show and hide (ui:showInterface).
// The host's scale (ui:scaleFactor, given in opts:options at instantiation or set later
// through opts:interface) and its resizing (ui:resize offered by the UI) go to the
// editor; the size it then has, or takes by itself, goes to the host's ui:resize.
//
// The DSP's read-outs (IPlugLV2Readouts) come in through port_event too, and the view
// switch goes out as a port write, both for the product's editor (IPlugLV2UIReadouts).
//
// Threads: the host calls every UI function on its GUI thread; so does the editor, which
// calls back into this object from there only. The UI binary holds no plug-in lock: the
// host's write function and features are called with none held.
#pragma once

#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstdint>
#include <vector>

#include "IEditorDelegate.h"
#include "IGraphics.h"
#include "IPlugBase.h"
#include "IPlugLV2Info.h"

// The UI's side of the read-out ports, for the product's editor. GUI thread only; lives as
// long as the editor made with it.
class IPlugLV2UIReadouts
{
public:
  virtual ~IPlugLV2UIReadouts() = default;
  // The value the host last reported for read-out i (0 ... outputCount - 1); NaN until it
  // reported one (or for another i).
  virtual float Readout(int i) const = 0;
  // Writes the view port through the host: 1 while the editor shows the read-outs, 0
  // when it hides them or closes. A value the host was given already is not written again.
  virtual void SetViewShown(bool shown) = 0;
};

// How the product makes and lets go of its editor (GUI thread). The UI reaches the
// editor only through the core's editor interface; windows are the toolkit's business.
struct IPlugLV2EditorHooks
{
  // A new editor for delegate; the UI pushes the parameter values to it. readouts is null
  // when the plug-in the UI is made for has none (or is not known).
  IGraphics* (*make)(IEditorDelegate* delegate, IPlugLV2UIReadouts* readouts);
  // Deletes an editor made by make (its window already closed).
  void (*release)(IGraphics* editor);
};

// The UI descriptor, with what instantiate needs; descriptor comes first so the
// LV2UI_Descriptor* the host hands back finds the rest.
struct IPlugLV2UIEntry
{
  LV2UI_Descriptor descriptor;
  const IPlugLV2Info* lv2;
  IPlugLV2EditorHooks hooks;
};

class IPlugLV2UI : public IEditorDelegate, private IPlugLV2UIReadouts
{
public:
  // pluginUri: the plug-in of the bundle the UI is for (its read-out ports' indices).
  IPlugLV2UI(const IPlugLV2UIEntry& entry, const char* pluginUri, LV2UI_Write_Function write,
             LV2UI_Controller controller, const LV2_Feature* const* features);
  ~IPlugLV2UI() override;
  IPlugLV2UI(const IPlugLV2UI&) = delete;
  IPlugLV2UI& operator=(const IPlugLV2UI&) = delete;

  // Opens the editor in the host's ui:parent; answers its X11 window id, or 0 (no parent
  // given, or the window could not be opened).
  uintptr_t OpenInParent();
  // A value the host reports for port; parameters' ports move the editor's controls, the
  // read-outs' are kept for the editor.
  void PortEvent(uint32_t port, uint32_t size, uint32_t format, const void* buffer);
  // ui:idleInterface: pumps the window's events and runs its tick. Always 0 (still open).
  int Idle();
  // ui:showInterface: opens a top-level window (a child of the screen's root), or closes it.
  int Show();
  int Hide();
  // opts:interface: ui:scaleFactor (an atom:Float) to the editor as the host's scale, and
  // read back as the scale the editor is drawn at. Other options are refused.
  uint32_t GetOptions(LV2_Options_Option* options);
  uint32_t SetOptions(const LV2_Options_Option* options);
  // ui:resize offered by the UI: the host resized the widget. 0 when the editor took it.
  int HostResized(int width, int height);

  // ---- IEditorDelegate: definitions from the description, gestures to the host ----
  int ParameterCount() const override { return mDefinitions.ParameterCount(); }
  IParameter* ParameterAt(int index) const override { return mDefinitions.ParameterAt(index); }
  void HostBeginEdit(int index) override;
  void SetParameterFromGUI(int index, double normalized) override;
  void HostEndEdit(int index) override;
  void ResizeEditorRect(int width, int height) override;

  static LV2UI_Handle Instantiate(const LV2UI_Descriptor* descriptor, const char* pluginUri,
                                  const char* bundlePath, LV2UI_Write_Function write,
                                  LV2UI_Controller controller, LV2UI_Widget* widget,
                                  const LV2_Feature* const* features);
  static void Cleanup(LV2UI_Handle handle);
  static void PortEventCallback(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format,
                                const void* buffer);
  static const void* ExtensionData(const char* uri);

private:
  // ---- IPlugLV2UIReadouts ----
  float Readout(int i) const override;
  void SetViewShown(bool shown) override;

  void Touch(int index, bool grabbed);
  // The host's scale from options (a zero-terminated list), the status of the first
  // ui:scaleFactor among them (LV2_OPTIONS_ERR_BAD_KEY without one).
  uint32_t TakeScaleFactor(const LV2_Options_Option* options);
  // Tells the host's ui:resize the editor's size when it differs from what it was told.
  void TellHostSize();

  const IPlugLV2UIEntry& mEntry;
  IPlugBase mDefinitions;
  IGraphics* mEditor = nullptr;
  LV2UI_Write_Function mWrite;
  LV2UI_Controller mController;
  void* mParent = nullptr;           // ui:parent, or null
  const LV2UI_Touch* mTouch = nullptr;
  const LV2UI_Resize* mResize = nullptr;
  LV2_URID mScaleFactorKey = 0;      // ui:scaleFactor and atom:Float, 0 without urid:map
  LV2_URID mFloatType = 0;
  float mScaleAnswer = 1.0f;         // what GetOptions points the host at
  int mToldWidth = 0, mToldHeight = 0; // the size last given to the host's ui:resize
  // The read-outs' ports (none: mViewPort -1), their last values, the view port's last write.
  int mViewPort = -1;
  std::vector<float> mReadouts;
  int mViewWritten = -1; // -1: not written
};

// Fills entry.descriptor (URI from entry.lv2->uiUri) with the adapter's callbacks.
void FillLV2UIDescriptor(IPlugLV2UIEntry& entry);
