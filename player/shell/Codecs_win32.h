#pragma once
// The system side of the codec rules: regsvr32 started through the shell's
// "open" verb, the system folder and its files.
#include <string>

#include "player/shell/Codecs.h"

namespace orves {

class TSystemCodecs final : public ICodecSystem {
 public:
  void RunRegsvr32(const std::string& parameters, bool waitForEnd) override;
  std::string SystemFolder() const override;
  void RemoveFile(const std::string& path) override;
};

}  // namespace orves
