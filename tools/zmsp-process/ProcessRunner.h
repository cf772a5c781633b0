// Runs decoded audio through the real sound processor filter: a host graph
// with a decoder-like source (whose input carries the chosen upstream
// subtype), the filter, a collecting renderer and optionally a file source.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "soundproc/contract/DirectShowApi.h"
#include "soundproc/contract/SettingsStore.h"
#include "tools/zmsp-process/WavFile.h"

namespace zmsp::process {

struct Options {
  std::optional<GUID> sourceSubtype;     // none: the source class stays "Unknown"
  GUID sourceMajorType{};                 // major type the subtype travels with
  std::optional<std::wstring> fileName;  // what the file source reports
  bool measureLevels = false;
};

enum class Outcome { Done, FilterRefused, ConnectionRefused, Failed };

struct Result {
  Outcome outcome = Outcome::Failed;
  HRESULT hr = S_OK;
  std::string message;  // one line when not Done
  wav::Audio output;
  std::array<std::int32_t, 8> levels{};
  std::uint32_t outputChannels = 0;
};

// The upstream subtype a --source name selects; false for an unknown name.
bool SourceSubtypeByName(const std::string& name, std::optional<GUID>& subtype, GUID& majorType);

Result Run(const wav::Audio& input, SettingsStore& store, const Options& options);

}  // namespace zmsp::process
