#include "qt/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QScreen>

#include <memory>

#include "platform/platform_services.h"
#include "qt/cp1252.h"
#include "qt/qt_dc.h"
#include "qt/qt_drag_drop.h"
#include "qt/qt_common_dialogs.h"
#include "qt/qt_dialog_builder.h"
#include "qt/qt_sheet_runner.h"
#include "qt/qt_printer.h"

namespace quill::qt {

namespace {

// The Qt services, installed for the lifetime of the object.
struct Installed {
  std::shared_ptr<QtApplicationServices> services = std::make_shared<QtApplicationServices>();
  std::shared_ptr<QtDialogRunner> dialogs = std::make_shared<QtDialogRunner>();
  std::shared_ptr<QtSheetRunner> sheets = std::make_shared<QtSheetRunner>();
  std::shared_ptr<QtCommonDialogs> commonDialogs = std::make_shared<QtCommonDialogs>();
  ScopedPlatformServices scope{PlatformServices{
      .pApplication = services,
      .pMessageBoxes = std::make_shared<QtMessageBoxPresenter>(*services),
      .pFonts = std::make_shared<QtFontList>(),
      .pDialogRunner = dialogs,
      .pSheetRunner = sheets,
      .pPrint = std::make_shared<QtPrintServices>(),
      .pCommonDialogs = commonDialogs,
      .pFilePrompt = std::make_shared<QtFilePrompt>(),
      .pDragDrop = std::make_shared<QtDragDrop>(),
      .pDisplay = std::make_shared<QtDisplay>(),
      .pClipboard = std::make_shared<QtClipboard>(),
  }};

  Installed() {
    SetQtDialogRunner(dialogs.get());
    SetQtSheetRunner(sheets.get());
    SetQtCommonDialogs(commonDialogs.get());
  }
  ~Installed() {
    SetQtDialogRunner(nullptr);
    SetQtSheetRunner(nullptr);
    SetQtCommonDialogs(nullptr);
  }
};

std::unique_ptr<Installed>& Services() {
  static std::unique_ptr<Installed> installed;
  return installed;
}

}  // namespace

COLORREF QtDisplay::GetSysColor(int index) const {
  const QPalette palette = QApplication::palette();
  switch (index) {
    case COLOR_WINDOW: return FromQColor(palette.color(QPalette::Active, QPalette::Base));
    case COLOR_WINDOWTEXT: return FromQColor(palette.color(QPalette::Active, QPalette::Text));
    case COLOR_HIGHLIGHT: return FromQColor(palette.color(QPalette::Active, QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT: return FromQColor(palette.color(QPalette::Active, QPalette::HighlightedText));
    case COLOR_BTNFACE: return FromQColor(palette.color(QPalette::Active, QPalette::Button));
    case COLOR_BTNTEXT: return FromQColor(palette.color(QPalette::Active, QPalette::ButtonText));
    case COLOR_BTNSHADOW: return FromQColor(palette.color(QPalette::Active, QPalette::Mid));
    case COLOR_BTNHIGHLIGHT: return FromQColor(palette.color(QPalette::Active, QPalette::Light));
    case COLOR_3DDKSHADOW: return FromQColor(palette.color(QPalette::Active, QPalette::Shadow));
    case COLOR_3DLIGHT: return FromQColor(palette.color(QPalette::Active, QPalette::Midlight));
    case COLOR_GRAYTEXT: return FromQColor(palette.color(QPalette::Disabled, QPalette::Text));
    case COLOR_INFOBK: return FromQColor(palette.color(QPalette::Active, QPalette::ToolTipBase));
    case COLOR_INFOTEXT: return FromQColor(palette.color(QPalette::Active, QPalette::ToolTipText));
    case COLOR_MENU: return FromQColor(palette.color(QPalette::Active, QPalette::Window));
    case COLOR_MENUTEXT: return FromQColor(palette.color(QPalette::Active, QPalette::WindowText));
    case COLOR_HOTLIGHT: return FromQColor(palette.color(QPalette::Active, QPalette::Link));
    default: return Display::GetSysColor(index);
  }
}

int QtDisplay::GetLogPixelsY() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? qRound(screen->logicalDotsPerInchY()) : Display::GetLogPixelsY();
}

bool QtClipboard::HasText() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText();
}

namespace {

// Line breaks at the desktop boundary: other programs' text (LF, CR LF or CR) reaches the
// buffer with CR LF, which its edits take for a line break; text leaves with LF.
std::string WithCrLfBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::string WithLfBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string TextFromDesktop(const QString& text) { return WithCrLfBreaks(ToCp1252(text)); }

QString TextToDesktop(std::string_view bytes) { return FromCp1252(WithLfBreaks(bytes)); }

std::optional<std::string> QtClipboard::GetText() const {
  if (!HasText()) return std::nullopt;
  return WithCrLfBreaks(ToCp1252(QGuiApplication::clipboard()->text()));
}

std::string Utf8TextFromDesktop(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return WithCrLfBreaks(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

QString Utf8TextToDesktop(std::string_view text) {
  const std::string lf = WithLfBreaks(text);
  return QString::fromUtf8(lf.data(), static_cast<qsizetype>(lf.size()));
}

std::optional<std::string> QtClipboard::GetUtf8Text() const {
  if (!HasText()) return std::nullopt;
  return Utf8TextFromDesktop(QGuiApplication::clipboard()->text());
}

bool QtClipboard::SetUtf8Text(std::string_view text) {
  QGuiApplication::clipboard()->setText(Utf8TextToDesktop(text));
  return true;
}

bool QtClipboard::SetText(std::string_view text) {
  QGuiApplication::clipboard()->setText(FromCp1252(WithLfBreaks(text)));
  return true;
}

QtApplicationServices& InstallPlatform() {
  if (!Services()) {
    Services() = std::make_unique<Installed>();
  }
  return *Services()->services;
}

void UninstallPlatform() { Services().reset(); }

}  // namespace quill::qt
