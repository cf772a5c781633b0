// Runs decoded audio through the real sound processor filter: a host graph
// with a decoder-like source (whose input carries the chosen upstream
// subtype), the filter, a renderer that hands every delivered sample to an
// output, and optionally a file source.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "directshow/com/DirectShowApi.h"
#include "soundproc/contract/SettingsStore.h"
#include "tools/zmsp-process/WavFile.h"

namespace zmsp::process {

struct Options {
  std::optional<GUID> sourceSubtype;     // none: the source class stays "Unknown"
  GUID sourceMajorType{};                // major type the subtype travels with
  std::optional<std::wstring> fileName;  // what the file source reports
  bool measureLevels = false;
};

enum class Outcome { Done, FilterRefused, ConnectionRefused, Failed };

struct Result {
  Outcome outcome = Outcome::Failed;
  HRESULT hr = S_OK;
  std::string message;       // one line when not Done
  wav::Format outputFormat;  // the last type a sample carried, else the connection's
  std::array<std::int32_t, 8> levels{};
  std::uint32_t outputChannels = 0;
};

// The upstream subtype a --source name selects; false for an unknown name.
bool SourceSubtypeByName(const std::string& name, std::optional<GUID>& subtype, GUID& majorType);

// Where the samples to process come from.
class Input {
 public:
  virtual ~Input() = default;
  virtual wav::Format Format() const = 0;
  // Reads up to `size` bytes of samples; fewer only at the end. False on an error.
  virtual bool Read(std::uint8_t* into, std::size_t size, std::size_t& got) = 0;
};

// Where the filter's output goes as it is delivered.
class Output {
 public:
  virtual ~Output() = default;
  // The format of the connection, before any sample.
  virtual bool Begin(const wav::Format& format) = 0;
  virtual bool Write(const std::uint8_t* data, std::size_t size) = 0;
};

Result Run(Input& input, SettingsStore& store, const Options& options, Output& output);

}  // namespace zmsp::process
