#pragma once
// How the expander and time-stretcher stages obtain their DMO: the outside
// component's class, created in process by class id, and, on a machine where
// that class is not registered, our own DMO of the same kind, created in
// process by a factory the owner of the stages hands in (the stages do not
// know where our DMOs live). Both sources are interfaces so tests can put
// failing or unusual objects in their place.

#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "soundproc/contract/DirectShowNames.h"
#include "directshow/com/DirectShowApi.h"

namespace zmsp {

enum class OwnDmoKind { Upmixer, TimeStretcher };

// Creates our own DMOs in process.
class OwnDmoFactory {
 public:
  virtual HRESULT Create(OwnDmoKind kind, IMediaObject** dmo) = 0;

 protected:
  ~OwnDmoFactory() = default;
};

// Creates registered COM classes in process (CoCreateInstance) and sets up
// COM on the calling thread (CoInitializeEx).
class ComClassCreator {
 public:
  virtual HRESULT CreateInProcess(const CLSID& classId, IMediaObject** dmo) = 0;
  virtual HRESULT InitializeMultithreaded() = 0;

 protected:
  ~ComClassCreator() = default;
};

// The system's COM.
ComClassCreator& SystemComClasses();

struct DmoSources {
  ComClassCreator* system = &SystemComClasses();
  OwnDmoFactory* own = nullptr;  // none: no fallback
};

// The result of creating a stage's DMO. `silent` marks the one failure the
// stage does not report: COM could not be set up on this thread.
struct DmoCreation {
  HRESULT hr = E_FAIL;
  bool silent = false;
};

// Creates `outsideClass` in process; on CO_E_NOTINITIALIZED sets up COM for
// the multithreaded apartment and tries once more; when the class is not
// registered (REGDB_E_CLASSNOTREG), creates our own DMO of `kind` instead.
DmoCreation CreateStageDmo(const DmoSources& sources, const CLSID& outsideClass, OwnDmoKind kind,
                           ComPtr<IMediaObject>& dmo);

class StageMessages;

// Creates the DMO as above and hands it its parameters with `handOver`. A
// failure is shown once as "can't create NAME (0x...)" (the creation's
// HRESULT) or "can't initialize NAME (0x...)" (the hand-over's), and leaves
// `dmo` empty.
bool CreateConfiguredDmo(const DmoSources& sources, const CLSID& outsideClass, OwnDmoKind kind,
                         std::string_view name, const std::function<HRESULT()>& handOver,
                         ComPtr<IMediaObject>& dmo, StageMessages& messages);

// Clears both types of the DMO and sets `input` and `output`; true when the
// DMO takes both.
bool SetDmoTypes(IMediaObject& dmo, const AM_MEDIA_TYPE& input, const AM_MEDIA_TYPE& output);

// A stage's user-visible messages, each text shown at most once for the life
// of the stage (so once per filter): a format change that repeats a failure
// for every sample must not repeat the message.
class StageMessages {
 public:
  void Show(std::string_view text);

 private:
  std::set<std::string, std::less<>> shown_;
};

// "0x%08X" of an HRESULT, as the messages show it.
std::string HexResult(HRESULT hr);

}  // namespace zmsp
