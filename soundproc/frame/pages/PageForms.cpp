#include "soundproc/frame/pages/PageForms.h"

namespace zmsp::pages {

PageLanguage ChoosePageLanguage(std::int32_t uiLanguage, std::uint16_t threadLanguageId) {
  if (uiLanguage == 1) return PageLanguage::Korean;
  if (uiLanguage == 2) return PageLanguage::English;
  return threadLanguageId == kKoreanLanguageId ? PageLanguage::Korean : PageLanguage::English;
}

PageForm FormOf(PageKind kind, PageLanguage language) {
  const bool korean = language == PageLanguage::Korean;
  if (kind == PageKind::Status) {
    return korean ? PageForm{IDD_STATUS_KOREAN, "소리 처리기"}
                  : PageForm{IDD_STATUS_ENGLISH, "Sound Processor"};
  }
  return korean ? PageForm{IDD_ABOUT_KOREAN, "정보"} : PageForm{IDD_ABOUT_ENGLISH, "About"};
}

}  // namespace zmsp::pages
