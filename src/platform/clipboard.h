#pragma once
// The clipboard's text, as the buffer holds it: bytes with the buffer's line breaks. A
// backend converts between these bytes and the desktop's text; without a backend an
// in-memory clipboard serves (one per process).

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
};

// A clipboard in memory.
class MemoryClipboard : public Clipboard {
 public:
  bool HasText() const override { return m_text.has_value(); }
  std::optional<std::string> GetText() const override { return m_text; }
  bool SetText(std::string_view text) override {
    m_text = std::string(text);
    return true;
  }
  void Clear() { m_text.reset(); }

 private:
  std::optional<std::string> m_text;
};

// Installs the clipboard used from now on; null restores the in-memory one.
void InstallClipboard(std::shared_ptr<Clipboard> clipboard);
Clipboard& CurrentClipboard();

}  // namespace quill
