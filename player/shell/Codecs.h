#pragma once
// The codec files the player registers and unregisters with the system's
// `regsvr32`, and the caption codec check: two other players' subtitle
// filters that would draw a second set of captions, looked up by class id.
#include <array>
#include <string>
#include <vector>

#include "player/core/Registry.h"

namespace orves {

// What the codec rules need of the system: starting `regsvr32` and the
// system folder's files.
class ICodecSystem {
 public:
  virtual ~ICodecSystem() = default;
  // Starts regsvr32 with `parameters`. With `waitForEnd` returns once it
  // has ended (or a generous time limit has passed); else at once.
  virtual void RunRegsvr32(const std::string& parameters, bool waitForEnd) = 0;
  // The system folder, without a trailing backslash.
  virtual std::string SystemFolder() const = 0;
  // Deletes a file; a missing or busy file is left as it is.
  virtual void RemoveFile(const std::string& path) = 0;
};

// The codec list, in the order it is registered and unregistered.
const std::vector<std::string>& CodecFiles();

// Registers every codec of the list, silently, without waiting.
void InstallCodecs(ICodecSystem& system);
// Unregisters every codec of the list and deletes its file from the system
// folder. Each file is deleted only after its unregistration has ended, so
// regsvr32 never has it loaded at that moment.
void RemoveCodecs(ICodecSystem& system);

struct CaptionCodec {
  const char* classId;
  const char* fileName;
};
const std::array<CaptionCodec, 2>& CaptionCodecs();

// True when either subtitle filter is registered; never creates a key.
bool CaptionCodecInstalled(const IRegistry& registry);
// The regsvr32 parameters that unregister both filters: the server file the
// class names under InprocServer32, else the file in the system folder;
// never a bare name, which regsvr32 would look for in the current folder.
std::vector<std::string> CaptionCodecUnregistrations(const IRegistry& registry,
                                                     const std::string& systemFolder);
// Runs those unregistrations, silently, without waiting.
void UnregisterCaptionCodecs(const IRegistry& registry, ICodecSystem& system);

// Registers (on) or unregisters the shell's media preview handler
// (shmedia.dll in the system folder), silently, without waiting.
void RegisterShellPreview(ICodecSystem& system, bool on);

}  // namespace orves
