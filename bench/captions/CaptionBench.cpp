// Loading a large caption file must stay well inside one 200 ms timer tick,
// and the per-tick lookup must cost next to nothing.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "player/captions/CaptionView.h"
#include "player/captions/SamiDocument.h"
#include "player/core/TextCodec.h"

namespace orves {
namespace {

// 10000 Korean entries of about 100 bytes each (about 1 MB), in CP949 or UTF-8:
// two lines, a font colour on every tenth entry, a blank entry now and then.
std::string MakeCaptionFile(bool utf8) {
  const auto codec = MakeSystemTextCodec();
  const std::string hangul = "자막 시험 문장입니다";
  const std::string line = utf8 ? hangul : *codec->Utf8ToCp949(hangul);
  std::string file =
      "<SAMI>\r\n<HEAD><STYLE TYPE=\"text/css\"><!--\r\n.KRCC {Name:Korean; "
      "lang:ko-KR;}\r\n--></STYLE></HEAD>"
      "\r\n<BODY>\r\n";
  for (int i = 0; i < TSamiDocument::MaxEntries; ++i) {
    file += "<SYNC Start=" + std::to_string(1000 + i * 2500) + "><P Class=KRCC>\r\n";
    if (i % 7 == 6) {
      file += "&nbsp;\r\n";
      continue;
    }
    if (i % 10 == 0) file += "<font color=\"#FFFF00\">";
    file += line + " " + std::to_string(i) + "<br>\r\n" + line + " &quot;two&quot;  lines\r\n";
  }
  return file + "</BODY>\r\n</SAMI>\r\n";
}

// Argument 0: the file in CP949 (every text converted), 1: in UTF-8.
void LoadFile(benchmark::State& state) {
  const std::string file = MakeCaptionFile(state.range(0) == 1);
  const auto codec = MakeSystemTextCodec();
  TSamiDocument document(*codec);
  for (auto _ : state) {
    document.LoadBytes(file);
    benchmark::DoNotOptimize(document.Count(TCaptionLanguage::Korean));
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(file.size()));
  state.counters["entries"] = document.Count(TCaptionLanguage::Korean);
  state.counters["file_bytes"] = static_cast<double>(file.size());
}
BENCHMARK(LoadFile)->ArgName("utf8")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void LookupCurrentEntry(benchmark::State& state) {
  const auto codec = MakeSystemTextCodec();
  TSamiDocument document(*codec);
  document.LoadBytes(MakeCaptionFile(false));
  const auto& table = document.Table(TCaptionLanguage::Korean);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> position(0, table.back().start + 10);
  std::vector<double> positions(4096);
  for (double& p : positions) p = position(random);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FindCurrentEntry(table, positions[i++ & 4095], 0.5));
  }
}
BENCHMARK(LookupCurrentEntry)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace orves
