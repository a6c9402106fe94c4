#pragma once
// Headless control services: message boxes answered from a script that a test sets (and
// recorded), and a fixed list of installed fonts.

#include <deque>
#include <vector>

#include "platform/control_services.h"
#include "platform/platform_services.h"

namespace quill {

class HeadlessMessageBoxPresenter : public IMessageBoxPresenter {
 public:
  // Answers with the next queued code; with none queued, with the box's first button
  // (IDOK, IDYES, IDABORT or IDRETRY by its button set).
  int Show(const MessageBoxRequest& request) override;
  void QueueAnswer(int nAnswer) { m_answers.push_back(nAnswer); }

  std::vector<MessageBoxRequest> m_requests;

 private:
  std::deque<int> m_answers;
};

// Installs a headless presenter for the lifetime of the object (tests).
class ScopedMessageBoxPresenter : public HeadlessMessageBoxPresenter {
 public:
  ScopedMessageBoxPresenter()
      : m_installed(PlatformServices{.pMessageBoxes = Unowned<IMessageBoxPresenter>(this)}) {}

 private:
  ScopedPlatformServices m_installed;
};

// "Courier New", "Lucida Console", "Consolas" and "Terminal" fixed; "Arial", "Tahoma",
// "Times New Roman" and "Verdana" proportional.
class HeadlessFontList : public IFontList {
 public:
  std::vector<FontInfo> GetInstalledFonts() override;
};

}  // namespace quill
