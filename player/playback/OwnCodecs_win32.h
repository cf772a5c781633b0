#pragma once
// Our decoding module, OrvesCodecs.ax, used without registration: loaded once
// from the program's folder by file name (LoadLibrary) and kept for the
// process, its filters made through its DllGetClassObject. The player shares
// no code with the module; it knows only the module's file name and the class
// ids of its filters.
#include <windows.h>
#include <dshow.h>

#include <string>

namespace orves {

class OwnCodecs {
 public:
  // The module beside the running program, loaded on the first call. A
  // module that is missing or has no class factory leaves Loaded() false.
  static OwnCodecs& Instance();

  bool Loaded() const { return getClassObject_ != nullptr; }

  // Builds the graph for `file` in `builder` from Orves Source and one of
  // our decoders per output pin, rendering each pin: graph building tries the
  // filters in the graph first and inserts registered filters (the sound
  // processor) by merit. Decoders left unconnected are taken out again.
  // Fails when the source refuses the file or no pin could be rendered; the
  // caller then discards the graph.
  HRESULT BuildGraph(IGraphBuilder* builder, const std::wstring& file) const;

 private:
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  explicit OwnCodecs(const std::wstring& path);
  HRESULT Create(const CLSID& classId, IBaseFilter** filter) const;

  GetClassObjectFn getClassObject_ = nullptr;
};

}  // namespace orves
