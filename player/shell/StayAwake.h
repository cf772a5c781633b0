#pragma once
// Keeps the display and the system awake while a movie plays, and lets them
// sleep again when it is paused, stopped or minimised, or when the player
// ends. The system is asked only when the answer changes.
namespace orves {

class ISystemSleep {
 public:
  virtual ~ISystemSleep() = default;
  // On: the display and the system stay on until told otherwise.
  virtual void KeepAwake(bool on) = 0;
};

class TStayAwake {
 public:
  explicit TStayAwake(ISystemSleep& system) : system_(system) {}
  ~TStayAwake();
  TStayAwake(const TStayAwake&) = delete;
  TStayAwake& operator=(const TStayAwake&) = delete;

  // Called with the player's state whenever it may have changed (each tick).
  void Update(bool playing, bool minimised);
  bool Awake() const { return awake_; }

 private:
  ISystemSleep& system_;
  bool awake_ = false;
};

}  // namespace orves
