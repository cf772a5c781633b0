// Counts the COM objects and server locks alive in this module, for
// DllCanUnloadNow: the module may be unloaded only when both are zero.
#pragma once

#include <atomic>

namespace ds {

class ServerObjects {
 public:
  static void ObjectCreated() { objects_.fetch_add(1); }
  static void ObjectDestroyed() { objects_.fetch_sub(1); }
  static void Lock(bool lock) { lock ? locks_.fetch_add(1) : locks_.fetch_sub(1); }
  static bool CanUnload() { return objects_.load() == 0 && locks_.load() == 0; }
  static long Objects() { return objects_.load(); }

 private:
  static inline std::atomic<long> objects_{0};
  static inline std::atomic<long> locks_{0};
};

// A member that counts its owner among the module's live objects.
struct CountedObject {
  CountedObject() { ServerObjects::ObjectCreated(); }
  CountedObject(const CountedObject&) { ServerObjects::ObjectCreated(); }
  ~CountedObject() { ServerObjects::ObjectDestroyed(); }
};

}  // namespace ds
