#include "platform/clipboard.h"

namespace quill {

namespace {

std::shared_ptr<Clipboard>& Installed() {
  static std::shared_ptr<Clipboard> clipboard = std::make_shared<MemoryClipboard>();
  return clipboard;
}

}  // namespace

void InstallClipboard(std::shared_ptr<Clipboard> clipboard) {
  Installed() = clipboard ? std::move(clipboard) : std::make_shared<MemoryClipboard>();
}

Clipboard& CurrentClipboard() { return *Installed(); }

}  // namespace quill
