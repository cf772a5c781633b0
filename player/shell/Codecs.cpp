#include "player/shell/Codecs.h"

namespace orves {

namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::string ClassKey(const CaptionCodec& codec) { return std::string("CLSID\\") + codec.classId; }

}  // namespace

const std::vector<std::string>& CodecFiles() {
  static const std::vector<std::string> files{"divxdec.ax",     "XVID.AX",
                                              "mpg4ds32.ax",    "IVInav.ax",
                                              "IVIVIDEO.ax",    "ac3filter.ax",
                                              "OggDS.dll",      "MMSwitch.ax",
                                              "iviaudio.ax",    "auprocfx.ax",
                                              "expDMO.dll",     "timestretchDMO.dll",
                                              "OrvesCodecs.ax", "ZMSoundProcessor.ax"};
  return files;
}

void InstallCodecs(ICodecSystem& system) {
  for (const std::string& file : CodecFiles()) {
    system.RunRegsvr32(file + " /s", /*waitForEnd=*/false);
  }
}

void RemoveCodecs(ICodecSystem& system) {
  const std::string folder = system.SystemFolder();
  for (const std::string& file : CodecFiles()) {
    system.RunRegsvr32(file + " /u /s", /*waitForEnd=*/true);
    // Without the system folder a bare "\\name" would point at a drive's root.
    if (!folder.empty()) {
      system.RemoveFile(folder + "\\" + file);
    }
  }
}

const std::array<CaptionCodec, 2>& CaptionCodecs() {
  static const std::array<CaptionCodec, 2> codecs{{
      {"{0180E49C-13BF-46DB-9AFD-9F52292E1C22}", "dvobsub.ax"},
      {"{37D5AC6C-DB82-4D83-8A70-B8FF0F1CB7C9}", "divxg400.ax"},
  }};
  return codecs;
}

bool CaptionCodecInstalled(const IRegistry& registry) {
  for (const CaptionCodec& codec : CaptionCodecs()) {
    if (registry.KeyExists(RegistryRoot::ClassesRoot, ClassKey(codec))) {
      return true;
    }
  }
  return false;
}

std::vector<std::string> CaptionCodecUnregistrations(const IRegistry& registry,
                                                     const std::string& systemFolder) {
  std::vector<std::string> runs;
  for (const CaptionCodec& codec : CaptionCodecs()) {
    std::string server =
        registry.ReadString(RegistryRoot::ClassesRoot, ClassKey(codec) + "\\InprocServer32", "").value_or("");
    // A path written with its own quotes is taken without them.
    if (server.size() >= 2 && server.front() == '"' && server.back() == '"') {
      server = server.substr(1, server.size() - 2);
    }
    if (server.empty()) {
      server = systemFolder + "\\" + codec.fileName;
    }
    runs.push_back(Quoted(server) + " /u /s");
  }
  return runs;
}

void UnregisterCaptionCodecs(const IRegistry& registry, ICodecSystem& system) {
  for (const std::string& parameters : CaptionCodecUnregistrations(registry, system.SystemFolder())) {
    system.RunRegsvr32(parameters, /*waitForEnd=*/false);
  }
}

void RegisterShellPreview(ICodecSystem& system, bool on) {
  const std::string server = Quoted(system.SystemFolder() + "\\shmedia.dll");
  system.RunRegsvr32(server + (on ? " /s" : " /u /s"), /*waitForEnd=*/false);
}

}  // namespace orves
