#pragma once
// The one way every object reports a user-visible message: a pair of a Korean
// and an English text (both UTF-8 here; the Windows layer converts to UTF-16).
// TStateText picks one of the two by its `Korean` setting.
#include <string>

namespace orves {

class IStateText {
 public:
  virtual ~IStateText() = default;
  virtual void ShowState(const std::string& korean, const std::string& english) = 0;
};

}  // namespace orves
