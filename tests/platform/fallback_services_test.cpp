// Services nobody installed: the fallback bundle answers (the headless platform in tests),
// and without it the core's inert services do. The priority class the application
// services set; their message boxes and status bar are checked by the tests of the code
// that uses them.

#include <sys/resource.h>

#include <gtest/gtest.h>

#include "platform/headless/headless_app_services.h"
#include "platform/headless/headless_dialog_runner.h"
#include "platform/headless/headless_sheet_runner.h"
#include "platform/posix/process_priority.h"
#include "quill.h"

namespace quill {
namespace {

class NoFallback {
 public:
  NoFallback() : m_saved(GetFallbackPlatformServices()) { SetFallbackPlatformServices(PlatformServices{}); }
  ~NoFallback() { SetFallbackPlatformServices(m_saved); }

 private:
  PlatformServices m_saved;
};

TEST(FallbackServices, HeadlessServeInTestsInertWithoutThem) {
  EXPECT_NE(dynamic_cast<HeadlessApplicationServices*>(&GetApplicationServices()), nullptr);
  EXPECT_EQ(&GetDialogRunner(), &GetHeadlessDialogRunner());
  {
    NoFallback none;
    EXPECT_EQ(&GetApplicationServices(), &InertApplicationServices());
    EXPECT_EQ(GetApplicationServices().GetStatusBar(), nullptr);
    EXPECT_EQ(AfxMessageBox("inert", MB_YESNO), IDYES);
    EXPECT_EQ(GetMessageBoxPresenter().Show(MessageBoxRequest{nullptr, "q", "", MB_OKCANCEL, 0}), IDOK);
    CColorDialog colour;
    EXPECT_EQ(colour.DoModal(), IDCANCEL);
    EXPECT_FALSE(PromptForFileName(FilePromptRequest{}).has_value());
    EXPECT_TRUE(GetFontList().GetInstalledFonts().empty());
    CDialog dialog(IDD_EDIT_FIND);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    // An installed service still comes first.
    ScopedHeadlessServices installed;
    EXPECT_EQ(&GetApplicationServices(), static_cast<IApplicationServices*>(&installed));
  }
  EXPECT_EQ(&GetDialogRunner(), &GetHeadlessDialogRunner());
}

TEST(HeadlessServices, HighPriorityIsRaisedAndRestored) {
  ScopedHeadlessServices services;
  errno = 0;
  const int before = getpriority(PRIO_PROCESS, 0);
  {
    CHighPriority high;
    if (geteuid() == 0) {
      EXPECT_EQ(getpriority(PRIO_PROCESS, 0), -10);
    }
  }
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
  EXPECT_EQ(services.m_priorityHistory.back(), PosixGetPriorityClass());
  EXPECT_FALSE(PosixSetPriorityClass(0x12345));  // not a class
}

// A scope fills only the slots its bundle holds and gives each back what it had, nested
// scopes included; the services it shared are released.
TEST(FallbackServices, ScopedBundleFillsItsSlotsAndRestoresThem) {
  Clipboard* const before = &CurrentClipboard();
  auto outer = std::make_shared<MemoryClipboard>();
  {
    ScopedPlatformServices installed(PlatformServices{.pClipboard = outer});
    {
      auto inner = std::make_shared<MemoryClipboard>();
      ScopedPlatformServices nested(PlatformServices{.pClipboard = inner});
      ScopedHeadlessSheets sheets;
      EXPECT_EQ(&CurrentClipboard(), inner.get());
      EXPECT_EQ(&GetSheetRunner(), &sheets.Runner());
    }
    EXPECT_EQ(&CurrentClipboard(), outer.get());
    EXPECT_EQ(&GetSheetRunner(), &GetHeadlessSheetRunner());
  }
  EXPECT_EQ(&CurrentClipboard(), before);
  EXPECT_EQ(outer.use_count(), 1);
}

}  // namespace
}  // namespace quill
