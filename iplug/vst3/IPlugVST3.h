// IPlugVST3: the VST 3 adapter. One object is the component (IComponent,
// IAudioProcessor, IProcessContextRequirements) and its edit controller
// (IEditController, IUnitInfo) at once, and owns one plug-in base.
//
// Why one object and not the split pair: the plug-in base is one object holding the
// parameters, the DSP and the editor, as it is for VST 2.4 and CLAP; split halves would
// need a second plug-in base kept in step through messages, for no gain in any host we
// serve. SDK hosts, the validator and Ardour find the controller by querying
// IEditController on the component, then skip the connection points; Ardour calls
// initialize and terminate twice (once per role), which both take as a repeat.
// The two roles still keep their own view of the parameters: the processor's values
// are the plug-in's and change only in process() (queues) and setState; the
// controller's are normalised copies the host sets with setParamNormalized and the
// editor's gestures move, so host automation stays sample-accurate.
//
// Threads (the interface's rules): everything is called on the host's UI thread except
// process() [audio] and setProcessing() [UI or audio]. The adapter takes no lock of its
// own; each call into the plug-in base takes the plug-in's lock, and no host interface
// is called with it held. The component handler (edits, restartComponent) is called on
// the UI thread only: the editor's gestures come there.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "IPlugBase.h"
#include "IPlugHostCalls.h"
#include "IPlugInfo.h"
#include "vst3_abi.h"

// What a product's VST 3 entry file hands the adapter.
struct IPlugVST3Product
{
  vst3::Uid classId;              // the component's class id: hosts store it, so it never changes
  const char* subCategories;      // "Fx|Delay"
  const char* url;
  const char* email;
  const IPlugInfo& (*info)();     // the product's description
  IPlugBase* (*make)();           // a new plug-in, editor attached when it has one
};

class IPlugVST3View;

class IPlugVST3 : public vst3::IComponent,
                  public vst3::IAudioProcessor,
                  public vst3::IProcessContextRequirements,
                  public vst3::IEditController,
                  public vst3::IUnitInfo,
                  public IPlugHostCalls
{
public:
  // Parameter ids are the plug-in's parameter indexes (projects store them, so a
  // parameter keeps its index for ever); the program-change parameter comes after them
  // with an id of its own.
  static constexpr vst3::ParamID kProgramParamId = 0x50726F67; // 'Prog'
  static constexpr vst3::ProgramListID kProgramListId = 1;
  static constexpr int kMaxChannels = 8;
  static constexpr int kMaxChanges = 1024; // parameter points applied per block

  explicit IPlugVST3(const IPlugVST3Product& product);
  virtual ~IPlugVST3();
  IPlugVST3(const IPlugVST3&) = delete;
  IPlugVST3& operator=(const IPlugVST3&) = delete;

  // ---- FUnknown (one count for all the interfaces) ----
  vst3::tresult VST3_API queryInterface(const vst3::TUID iid, void** obj) override;
  vst3::uint32 VST3_API addRef() override;
  vst3::uint32 VST3_API release() override;

  // ---- IPluginBase [UI]: makes the plug-in (initialize) and lets it go (terminate) ----
  vst3::tresult VST3_API initialize(vst3::FUnknown* context) override;
  vst3::tresult VST3_API terminate() override;

  // ---- IComponent [UI] ----
  vst3::tresult VST3_API getControllerClassId(vst3::TUID classId) override;
  vst3::tresult VST3_API setIoMode(vst3::IoMode mode) override;
  vst3::int32 VST3_API getBusCount(vst3::MediaType type, vst3::BusDirection dir) override;
  vst3::tresult VST3_API getBusInfo(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                    vst3::BusInfo& bus) override;
  vst3::tresult VST3_API getRoutingInfo(vst3::RoutingInfo& inInfo, vst3::RoutingInfo& outInfo) override;
  // Ardour also calls it from its audio callback: it changes nothing.
  vst3::tresult VST3_API activateBus(vst3::MediaType type, vst3::BusDirection dir, vst3::int32 index,
                                     vst3::TBool state) override;
  vst3::tresult VST3_API setActive(vst3::TBool state) override;
  // [UI, any state, processing included]: the plug-in's lock keeps audio off a half-read state.
  vst3::tresult VST3_API setState(vst3::IBStream* state) override;
  vst3::tresult VST3_API getState(vst3::IBStream* state) override;

  // ---- IAudioProcessor ----
  // [UI, inactive] (Ardour: also while processing, with the current arrangement).
  vst3::tresult VST3_API setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                            vst3::SpeakerArrangement* outputs, vst3::int32 numOuts) override;
  vst3::tresult VST3_API getBusArrangement(vst3::BusDirection dir, vst3::int32 index,
                                           vst3::SpeakerArrangement& arr) override;
  vst3::tresult VST3_API canProcessSampleSize(vst3::int32 symbolicSampleSize) override;
  vst3::uint32 VST3_API getLatencySamples() override;
  vst3::tresult VST3_API setupProcessing(vst3::ProcessSetup& setup) override; // [UI, inactive]
  vst3::tresult VST3_API setProcessing(vst3::TBool state) override;           // [UI or audio]
  vst3::tresult VST3_API process(vst3::ProcessData& data) override;           // [audio]: allocates nothing
  vst3::uint32 VST3_API getTailSamples() override;                           // any thread

  // ---- IProcessContextRequirements: no musical time needed ----
  vst3::uint32 VST3_API getProcessContextRequirements() override { return 0; }

  // ---- IEditController [UI] ----
  vst3::tresult VST3_API setComponentState(vst3::IBStream* state) override;
  vst3::tresult VST3_API setControllerState(vst3::IBStream* state) override;
  vst3::tresult VST3_API getControllerState(vst3::IBStream* state) override;
  vst3::int32 VST3_API getParameterCount() override;
  vst3::tresult VST3_API getParameterInfo(vst3::int32 paramIndex, vst3::ParameterInfo& info) override;
  vst3::tresult VST3_API getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                               vst3::String128 string) override;
  vst3::tresult VST3_API getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                               vst3::ParamValue& valueNormalized) override;
  vst3::ParamValue VST3_API normalizedParamToPlain(vst3::ParamID id, vst3::ParamValue valueNormalized) override;
  vst3::ParamValue VST3_API plainParamToNormalized(vst3::ParamID id, vst3::ParamValue plainValue) override;
  vst3::ParamValue VST3_API getParamNormalized(vst3::ParamID id) override;
  // The host tells the controller a value: the editor follows; the host is not called
  // back, except for a program choice, which it is told changed all values (Ardour 7:
  // each value as an edit, see TellHostValuesChanged).
  vst3::tresult VST3_API setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
  vst3::tresult VST3_API setComponentHandler(vst3::IComponentHandler* handler) override;
  vst3::IPlugView* VST3_API createView(vst3::FIDString name) override;

  // ---- IUnitInfo [UI]: the root unit and its one program list ----
  vst3::int32 VST3_API getUnitCount() override { return 1; }
  vst3::tresult VST3_API getUnitInfo(vst3::int32 unitIndex, vst3::UnitInfo& info) override;
  vst3::int32 VST3_API getProgramListCount() override { return ProgramCount() > 0 ? 1 : 0; }
  vst3::tresult VST3_API getProgramListInfo(vst3::int32 listIndex, vst3::ProgramListInfo& info) override;
  vst3::tresult VST3_API getProgramName(vst3::ProgramListID listId, vst3::int32 programIndex,
                                        vst3::String128 name) override;
  vst3::tresult VST3_API getProgramInfo(vst3::ProgramListID, vst3::int32, vst3::CString, vst3::String128) override
  {
    return vst3::kResultFalse;
  }
  vst3::tresult VST3_API hasProgramPitchNames(vst3::ProgramListID, vst3::int32) override
  {
    return vst3::kResultFalse;
  }
  vst3::tresult VST3_API getProgramPitchName(vst3::ProgramListID, vst3::int32, vst3::int16, vst3::String128) override
  {
    return vst3::kResultFalse;
  }
  vst3::UnitID VST3_API getSelectedUnit() override { return vst3::kRootUnitId; }
  vst3::tresult VST3_API selectUnit(vst3::UnitID unitId) override
  {
    return unitId == vst3::kRootUnitId ? vst3::kResultTrue : vst3::kResultFalse;
  }
  vst3::tresult VST3_API getUnitByBus(vst3::MediaType, vst3::BusDirection, vst3::int32, vst3::int32,
                                      vst3::UnitID&) override
  {
    return vst3::kResultFalse;
  }
  vst3::tresult VST3_API setUnitProgramData(vst3::int32, vst3::int32, vst3::IBStream*) override
  {
    return vst3::kNotImplemented;
  }

  // ---- IPlugHostCalls [UI]: the editor's gestures to the component handler ----
  void BeginEdit(int index) override;
  void Automate(int index, double normalized) override;
  void EndEdit(int index) override;
  bool HostProduct(char* product, int size, int* version) override;
  // The editor changed its size by itself: the open view asks its frame to resize.
  void EditorResized(int width, int height) override;

  // ---- For the view ----
  IPlugBase* Plug() const { return mPlug.get(); }
  const IPlugVST3Product& Product() const { return mProduct; }
  // The one view whose window is open, or null: a second view cannot open one.
  IPlugVST3View* OpenView() const { return mOpenView; }
  void SetOpenView(IPlugVST3View* view) { mOpenView = view; }

private:
  int ParamCount() const { return mPlug ? mPlug->ParameterCount() : 0; }
  int ProgramCount() const { return static_cast<int>(mProgramNames.size()); }
  // The program a normalised program-change value picks (the interface's rounding).
  int ProgramForValue(double normalized) const;
  // [audio] Every block process() does not take its short path for. Kept out of line so
  // that the short path stays short.
  [[gnu::noinline]] vst3::tresult ProcessAnyBlock(vst3::ProcessData& data, bool hasChanges);
  // [audio] The block's parameter points, in frame order, as the plug-in's changes.
  int ReadChanges(vst3::IParameterChanges* changes, int frames);
  void AddChange(int frame, int index, double value, bool normalized, int* count);
  template <class Sample>
  void RunBlock(vst3::ProcessData& data, Sample** (*buffers)(vst3::AudioBusBuffers&), int changes);
  // The controller's copies follow a whole new state (setComponentState, program choice).
  void SetControllerValuesFromPlug(IPlugBase& source);
  void TellEditor(int index, double normalized);
  void TellHostValuesChanged();

  // ---- Not yet a core call: a factory program's values, as the product defines it ----
  // (the instance's own program slots change as it saves and switches programs).
  void ReadFactoryPrograms();

  std::atomic<vst3::uint32> mRefCount{1};
  const IPlugVST3Product& mProduct;
  IPlugVST3View* mOpenView = nullptr;
  std::unique_ptr<IPlugBase> mPlug;
  int mInitializeCount = 0; // Ardour initialises the one object once per role
  vst3::IComponentHandler* mHandler = nullptr;
  vst3::FUnknown* mHostContext = nullptr;

  // Processor side.
  vst3::SpeakerArrangement mInputArrangement = vst3::kArrStereo;
  int mInputChannels = 2;  // mInputArrangement's, counted once when it is set, not per block
  int mOutputChannels = 2; // the plug-in's, read once at initialize
  vst3::SpeakerArrangement mOutputArrangement = vst3::kArrStereo;
  bool mActive = false;
  vst3::ProcessSetup mSetup{vst3::kRealtime, vst3::kSample32, 1024, 44100.0};
  std::vector<IParameterChange> mChanges; // kMaxChanges long, filled per block
  double mProgramValue = 0.0;             // the processor's program-change value
  int mProgramChosen = -1;                // the program chosen in the block being read, or -1

  // Controller side: normalised values, one per parameter, then the program's.
  std::vector<double> mControllerValues;

  // Factory programs: names, and the real values of every parameter.
  std::vector<std::vector<char>> mProgramNames;
  std::vector<std::vector<double>> mProgramValues;
};
