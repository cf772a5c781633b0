// orvesmp-sami command line: hands UTF-8 arguments to RunSamiTool and writes
// its UTF-8 output unchanged (no newline translation on Windows, so the
// output is byte for byte the same on both systems).
#include <iostream>
#include <string>
#include <vector>

#include "player/core/TextCodec.h"
#include "tools/orvesmp-sami/SamiTool.h"

#ifdef _WIN32
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

namespace {

std::vector<std::string> Utf8Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return args;
  for (int i = 1; i < count; ++i) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), n, nullptr, nullptr);
    args.push_back(arg);
  }
  LocalFree(wide);
  return args;
}

}  // namespace

int main() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  const std::vector<std::string> args = Utf8Arguments();
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
#endif
  const auto codec = orves::MakeSystemTextCodec();
  const int status = orves::RunSamiTool(args, *codec, std::cout, std::cerr);
  std::cout.flush();
  return status;
}
