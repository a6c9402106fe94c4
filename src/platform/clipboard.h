#pragma once
// The clipboard's text, as the buffer holds it: bytes with the buffer's line breaks. A
// backend converts between these bytes and the desktop's text; without a backend an
// in-memory clipboard serves (one per process). GetText and SetText carry Windows-1252
// bytes; GetUtf8Text and SetUtf8Text carry the same text as UTF-8, so that no character
// of the desktop's text is lost on its way to a document of either encoding.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace quill {

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Text is available.
  virtual bool HasText() const = 0;
  // The text, or nothing when the clipboard holds none.
  virtual std::optional<std::string> GetText() const = 0;
  // Replaces the clipboard's contents; false when the clipboard could not be opened.
  virtual bool SetText(std::string_view text) = 0;
  // The text as UTF-8 (by default the Windows-1252 text converted).
  virtual std::optional<std::string> GetUtf8Text() const;
  // Replaces the contents with UTF-8 text (by default converted to Windows-1252, with '?'
  // for a character the code page cannot hold).
  virtual bool SetUtf8Text(std::string_view text);
};

// A clipboard in memory.
// A clipboard in memory. It keeps the text as it was given, Windows-1252 or UTF-8, and
// converts it when asked for the other.
class MemoryClipboard : public Clipboard {
 public:
  bool HasText() const override { return m_text.has_value(); }
  std::optional<std::string> GetText() const override;
  bool SetText(std::string_view text) override {
    m_text = std::string(text);
    m_bUtf8 = false;
    return true;
  }
  std::optional<std::string> GetUtf8Text() const override;
  bool SetUtf8Text(std::string_view text) override {
    m_text = std::string(text);
    m_bUtf8 = true;
    return true;
  }
  void Clear() { m_text.reset(); }

 private:
  std::optional<std::string> m_text;
  bool m_bUtf8 = false;
};

// Installs the clipboard used from now on; null restores the in-memory one.
void InstallClipboard(std::shared_ptr<Clipboard> clipboard);
Clipboard& CurrentClipboard();

}  // namespace quill
