// The SAMI reader on arbitrary bytes: it must never crash or hang, every
// text it hands out must be valid UTF-8, and what the writer makes of the
// document must read back into the same texts and start times.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "player/captions/CaptionView.h"
#include "player/captions/SamiDocument.h"
#include "player/captions/SamiWriter.h"
#include "player/core/UnicodeText.h"

namespace {

orves::ITextCodec& Codec() {
  static const auto codec = orves::MakeSystemTextCodec();
  return *codec;
}

bool IsBlank(const std::string& text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) > 32) return false;
  }
  return true;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void CheckRoundTrip(const orves::TSamiDocument& document, orves::TCaptionLanguage language,
                    const orves::TSamiDocument& reread) {
  const auto& before = document.Table(language);
  const auto& after = reread.Table(language);
  size_t j = 0;
  for (const auto& entry : before) {
    if (!orves::WrittenStartMilliseconds(entry.start, 0)) continue;
    Check(j < after.size());
    // A blank text is written as the blank entry "&nbsp;", which reads back empty.
    Check(after[j].text == (IsBlank(entry.text) ? std::string() : entry.text));
    Check(after[j].start == entry.start);
    ++j;
  }
  Check(j == after.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  orves::TSamiDocument document(Codec());
  document.LoadBytes(bytes);
  for (const auto language : {orves::TCaptionLanguage::Korean, orves::TCaptionLanguage::English}) {
    const auto& table = document.Table(language);
    Check(table.size() <= static_cast<size_t>(orves::TSamiDocument::MaxEntries));
    for (const auto& entry : table) Check(orves::IsValidUtf8(entry.text));
    if (!table.empty()) {
      const int found = orves::FindCurrentEntry(table, table.front().start, 0);
      Check(found >= -1 && found <= static_cast<int>(table.size()) - 2);
    }
  }
  // Unshifted, every entry is written, and reads back the same.
  orves::TSamiDocument reread(Codec());
  reread.LoadBytes(orves::BuildSamiFile(document, 0, Codec()));
  CheckRoundTrip(document, orves::TCaptionLanguage::Korean, reread);
  CheckRoundTrip(document, orves::TCaptionLanguage::English, reread);
  return 0;
}
