#include "platform/clipboard.h"

#include "platform/platform_services.h"
#include "platform/text_encoding.h"

namespace quill {

void InstallClipboard(std::shared_ptr<Clipboard> clipboard) {
  InstalledPlatformServices().pClipboard =
      clipboard ? std::move(clipboard) : std::make_shared<MemoryClipboard>();
}

Clipboard& CurrentClipboard() {
  static MemoryClipboard builtIn;
  return InstalledOr(&PlatformServices::pClipboard, builtIn);
}

std::optional<std::string> Clipboard::GetUtf8Text() const {
  std::optional<std::string> text = GetText();
  if (text) *text = Cp1252ToUtf8(*text);
  return text;
}

bool Clipboard::SetUtf8Text(std::string_view text) { return SetText(Utf8ToCp1252Lossy(text)); }

std::optional<std::string> MemoryClipboard::GetText() const {
  if (!m_text || !m_bUtf8) return m_text;
  return Utf8ToCp1252Lossy(*m_text);
}

std::optional<std::string> MemoryClipboard::GetUtf8Text() const {
  if (!m_text || m_bUtf8) return m_text;
  return Cp1252ToUtf8(*m_text);
}

}  // namespace quill
