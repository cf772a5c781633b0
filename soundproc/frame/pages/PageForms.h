// Which form of a page is shown: Korean or English, by the "UILanguage"
// setting or, when that is 0, by the creating thread's language; and each
// form's dialog resource and title.
#pragma once

#include <cstdint>

#include "soundproc/frame/pages/PageResources.h"

namespace zmsp::pages {

enum class PageLanguage { Korean, English };
enum class PageKind { Status, About };

inline constexpr std::uint16_t kKoreanLanguageId = 0x0412;

// "UILanguage" 1 Korean, 2 English; 0 (or anything else) follows the thread's
// language identifier.
[[nodiscard]] PageLanguage ChoosePageLanguage(std::int32_t uiLanguage, std::uint16_t threadLanguageId);

struct PageForm {
  int dialogId;       // the dialog resource
  const char* title;  // UTF-8
};

[[nodiscard]] PageForm FormOf(PageKind kind, PageLanguage language);

}  // namespace zmsp::pages
