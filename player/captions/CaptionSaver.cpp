#include "player/captions/CaptionSaver.h"

#include "player/captions/CaptionClock.h"
#include "player/captions/CueWriter.h"
#include "player/captions/SamiWriter.h"
#include "player/core/Paths.h"

namespace orves {
namespace {

TCaptionLanguage Other(TCaptionLanguage language) {
  return language == TCaptionLanguage::Korean ? TCaptionLanguage::English : TCaptionLanguage::Korean;
}

}  // namespace

std::optional<TCaptionFormat> WrittenFormatOf(const std::filesystem::path& path) {
  const std::string extension = PathToUtf8(path.extension());
  return extension.empty() ? std::nullopt : FormatOfExtension(extension.substr(1));
}

std::string BuildCaptionFile(const TSamiDocument& document, const TCaptionWrite& write, ITextCodec& codec) {
  TCaptionLanguage language = write.language;
  const TCaptionSource* source = document.Source(language);
  if (!source && document.Count(language) == 0) {
    // An empty table: the other one, when the document has only that.
    language = Other(language);
    source = document.Source(language);
  }
  const TCaptionFormat read = source ? source->format : document.Format();
  TCaptionFormat format = write.format.value_or(read);
  const int64_t offset = OffsetMilliseconds(write.syncOffset);
  if (write.keepLayout && source && format == read && read != TCaptionFormat::Sami &&
      !source->timed.text.empty()) {
    return EncodeCaptionFile(ShiftTimedCaptionFile(source->timed, offset), source->encoding,
                             source->byteOrderMark, codec);
  }
  // An ASS file is only ever written with its own layout; captions asked for
  // as ASS otherwise are written as SubRip.
  if (format == TCaptionFormat::Ass) format = TCaptionFormat::SubRip;
  switch (format) {
    case TCaptionFormat::SubRip:
      return BuildSubRipFile(document.Cues(language, kLastCaptionSeconds), offset);
    case TCaptionFormat::WebVtt:
      return BuildWebVttFile(document.Cues(language, kLastCaptionSeconds), offset);
    default:
      return BuildSamiFile(document, write.syncOffset, codec,
                           write.bothTables ? std::nullopt : std::optional<TCaptionLanguage>(language));
  }
}

TSaveResult SaveShiftedCaptions(const TSamiDocument& document, TCaptionLanguage shown, double syncOffset,
                                ITextCodec& codec, const std::filesystem::path& path) {
  TCaptionWrite write;
  write.format = WrittenFormatOf(path);
  write.language = shown;
  write.syncOffset = syncOffset;
  return WriteCaptionFileBytes(path, BuildCaptionFile(document, write, codec));
}

}  // namespace orves
