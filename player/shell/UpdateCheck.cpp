#include "player/shell/UpdateCheck.h"

#include <algorithm>
#include <compare>
#include <string>

namespace orves {

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' ' || c == '\x7f'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlankOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlankOrControl(text.back())) text.remove_suffix(1);
  return text;
}

// Splits off the first line (without its line feed) and leaves the rest.
std::string_view TakeLine(std::string_view& text) {
  const size_t end = text.find('\n');
  const std::string_view line = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  return line;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One dotted part: its leading digits and whatever follows them.
struct VersionPart {
  std::string digits;
  std::string_view tail;
};

VersionPart TakePart(std::string_view& version) {
  const size_t dot = version.find('.');
  const std::string_view part = version.substr(0, dot);
  version = dot == std::string_view::npos ? std::string_view() : version.substr(dot + 1);
  size_t i = 0;
  while (i < part.size() && IsDigit(part[i])) ++i;
  return VersionPart{std::string(part.substr(0, i)), part.substr(i)};
}

// The first part is a whole number: leading zeros go, then the longer
// number is the larger one (no overflow however long it is).
std::strong_ordering CompareWhole(std::string a, std::string b) {
  a.erase(0, std::min(a.find_first_not_of('0'), a.size()));
  b.erase(0, std::min(b.find_first_not_of('0'), b.size()));
  if (a.size() != b.size()) return a.size() <=> b.size();
  return a <=> b;
}

// A later part reads as decimals after the point, as in "2.33": "4" is
// 0.4, which is more than 0.33; missing digits count as zeros.
std::strong_ordering CompareFraction(std::string a, std::string b) {
  const size_t length = std::max(a.size(), b.size());
  a.resize(length, '0');
  b.resize(length, '0');
  return a <=> b;
}

}  // namespace

std::optional<UpdateOffer> ParseVersionReply(std::string_view reply) {
  if (reply.substr(0, 7) != "version") {
    return std::nullopt;
  }
  TakeLine(reply);
  UpdateOffer offer;
  offer.version = std::string(Trim(TakeLine(reply)));
  offer.notes = std::string(reply);
  return offer;
}

bool IsNewerVersion(std::string_view offered, std::string_view running) {
  offered = Trim(offered);
  running = Trim(running);
  for (bool first = true; !offered.empty() || !running.empty(); first = false) {
    const VersionPart a = TakePart(offered);
    const VersionPart b = TakePart(running);
    const std::strong_ordering order =
        first ? CompareWhole(a.digits, b.digits) : CompareFraction(a.digits, b.digits);
    if (order != 0) {
      return order > 0;
    }
    if (a.tail != b.tail) {
      return a.tail > b.tail;
    }
  }
  return false;
}

std::optional<UpdateOffer> OfferToShow(std::string_view reply, std::string_view running) {
  std::optional<UpdateOffer> offer = ParseVersionReply(reply);
  if (!offer || !IsNewerVersion(offer->version, running)) {
    return std::nullopt;
  }
  return offer;
}

}  // namespace orves
