// The core's inert services (platform/platform_services.h).

#include <cstdio>

#include "platform/app_services.h"
#include "platform/common_dialogs.h"
#include "platform/control_services.h"
#include "platform/dialog_runner.h"
#include "platform/drag_drop.h"
#include "platform/platform_services.h"
#include "platform/posix/process_priority.h"
#include "platform/print.h"
#include "platform/prompts.h"
#include "platform/sheet_runner.h"

namespace quill {
namespace {

class InertApplication final : public IApplicationServices {
 public:
  int MessageBox(const std::string& text, unsigned type) override {
    std::fprintf(stderr, "quill message (0x%x): %s\n", type, text.c_str());
    return FirstButtonAnswer(type);
  }
  IStatusBar* GetStatusBar() override { return nullptr; }
  std::string GetIdlePrompt() const override { return "Ready"; }
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  unsigned GetPriorityClass() override { return PosixGetPriorityClass(); }
  bool SetPriorityClass(unsigned priorityClass) override { return PosixSetPriorityClass(priorityClass); }
};

class InertMessageBoxes final : public IMessageBoxPresenter {
 public:
  int Show(const MessageBoxRequest& request) override { return FirstButtonAnswer(request.style); }
};

class InertFonts final : public IFontList {
 public:
  std::vector<FontInfo> GetInstalledFonts() override { return {}; }
};

class InertDialogs final : public IDialogRunner {
 public:
  int RunModal(const DialogTemplate&, CDialogBehaviour&, Window*) override { return IDCANCEL; }
};

class InertSheets final : public ISheetRunner {
 public:
  int RunSheet(CSheetBehaviour&, Window*) override { return IDCANCEL; }
};

class InertPrint final : public IPrintServices {
 public:
  bool DoPreparePrinting(CPrintInfo& info) override {
    if (!info.m_bPreview) AfxMessageBox("No printers are installed.", MB_OK | MB_ICONERROR);
    return false;
  }
  std::unique_ptr<CDC> CreatePrinterDC(const CPrintInfo&) override { return nullptr; }
  void RunPrintPreview(Window*, const std::string&, const std::function<void(CDC&, CPrintInfo&)>&) override {}
  int RunPageSetup(CPageSetupDialog&) override { return IDCANCEL; }
  std::string GetDefaultPrinter() override { return {}; }
  bool GetPrinterDevMode(const std::string&, DEVMODE&) override { return false; }
  bool ValidateDevMode(const std::string&, DEVMODE&) override { return false; }
};

class InertCommon final : public CommonDialogs {
 public:
  std::optional<COLORREF> ChooseColor(const ColorDialogRequest&) override { return std::nullopt; }
  std::optional<LOGFONT> ChooseFont(const FontDialogRequest&) override { return std::nullopt; }
};

class InertPrompt final : public FilePrompt {
 public:
  std::optional<std::string> AskFileName(const FilePromptRequest&) override { return std::nullopt; }
};

class InertDragDrop final : public DragDropService {
 public:
  bool RegisterDropTarget(Window*, COleDropTarget*) override { return false; }
  void RevokeDropTarget(Window*, COleDropTarget*) override {}
  DROPEFFECT DoDragDrop(Window*, const COleDataObject&, DROPEFFECT) override { return DROPEFFECT_NONE; }
};

}  // namespace

IApplicationServices& InertApplicationServices() {
  static InertApplication services;
  return services;
}

IMessageBoxPresenter& InertMessageBoxPresenter() {
  static InertMessageBoxes presenter;
  return presenter;
}

IFontList& InertFontList() {
  static InertFonts fonts;
  return fonts;
}

IDialogRunner& InertDialogRunner() {
  static InertDialogs runner;
  return runner;
}

ISheetRunner& InertSheetRunner() {
  static InertSheets runner;
  return runner;
}

IPrintServices& InertPrintServices() {
  static InertPrint services;
  return services;
}

std::shared_ptr<CommonDialogs> InertCommonDialogs() {
  static const std::shared_ptr<CommonDialogs> dialogs = std::make_shared<InertCommon>();
  return dialogs;
}

std::shared_ptr<FilePrompt> InertFilePrompt() {
  static const std::shared_ptr<FilePrompt> prompt = std::make_shared<InertPrompt>();
  return prompt;
}

std::shared_ptr<DragDropService> InertDragDropService() {
  static const std::shared_ptr<DragDropService> service = std::make_shared<InertDragDrop>();
  return service;
}

}  // namespace quill
