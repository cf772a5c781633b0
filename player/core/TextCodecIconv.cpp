// The native codec over iconv. Each direction keeps one conversion
// descriptor open for the codec's lifetime: a caption file converts every
// entry separately and opening a descriptor per entry would dominate loading.
// Each is opened at its first use: loading the code page tables costs about a
// millisecond that a run reading only UTF-8 files need not pay.
#include <errno.h>
#include <iconv.h>

#include <optional>
#include <stdexcept>

#include "player/core/TextCodec.h"

namespace orves {
namespace {

class IconvDescriptor {
 public:
  IconvDescriptor(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~IconvDescriptor() { iconv_close(cd_); }
  IconvDescriptor(const IconvDescriptor&) = delete;
  IconvDescriptor& operator=(const IconvDescriptor&) = delete;

  // Converts as far as possible. Returns false at an input sequence that has
  // no conversion (EILSEQ) or is cut off at the end (EINVAL); `in` then
  // points at it.
  bool Convert(const char*& in, size_t& inLeft, std::string& out) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char buffer[4096];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      const size_t rc = iconv(cd_, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
      out.append(buffer, outPtr - buffer);
      if (rc == static_cast<size_t>(-1) && errno != E2BIG) return false;
    }
    return true;
  }

 private:
  iconv_t cd_;
};

class IconvTextCodec final : public ITextCodec {
 public:
  std::string Cp949ToUtf8(std::string_view cp949) override {
    std::string out;
    out.reserve(cp949.size() + cp949.size() / 2);
    const char* in = cp949.data();
    size_t left = cp949.size();
    if (!toUtf8_) toUtf8_.emplace("UTF-8", "CP949");
    while (!toUtf8_->Convert(in, left, out)) {
      out += "\xEF\xBF\xBD";  // U+FFFD for the byte that starts no character
      // Some converters step over a pair they have no character for
      // themselves (glibc's CP949 does at the very end of the input).
      if (left == 0) break;
      ++in;
      --left;
    }
    return out;
  }

  std::optional<std::string> Utf8ToCp949(std::string_view utf8) override {
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    size_t left = utf8.size();
    if (!toCp949_) toCp949_.emplace("CP949", "UTF-8");
    if (!toCp949_->Convert(in, left, out)) return std::nullopt;
    return out;
  }

 private:
  std::optional<IconvDescriptor> toUtf8_;
  std::optional<IconvDescriptor> toCp949_;
};

}  // namespace

std::unique_ptr<ITextCodec> MakeSystemTextCodec() { return std::make_unique<IconvTextCodec>(); }

// One codec per thread, kept: profile files convert line by line.
std::string AnsiToUtf8(std::string_view ansi) {
  thread_local IconvTextCodec codec;
  return codec.Cp949ToUtf8(ansi);
}

std::optional<std::string> Utf8ToAnsi(std::string_view utf8) {
  thread_local IconvTextCodec codec;
  return codec.Utf8ToCp949(utf8);
}

}  // namespace orves
