#pragma once
// Drag and drop of plain 8-bit text between windows. A window registers a drop target; a
// source offers a data object to the modal drag loop, which delivers enter, over, scroll,
// leave and drop to the target under the mouse and returns the effect the drag ended with.
// A backend implements the loop over the desktop's drag and drop; without a backend the
// fallback serves (platform/platform_services.h; in tests a headless service they drive).

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace quill {

class Window;

// Drop effects.
using DROPEFFECT = unsigned long;
constexpr DROPEFFECT DROPEFFECT_NONE = 0;
constexpr DROPEFFECT DROPEFFECT_COPY = 1;
constexpr DROPEFFECT DROPEFFECT_MOVE = 2;

// The plain 8-bit text format (Windows-1252).
constexpr unsigned short CF_TEXT = 1;
// The same text as UTF-8, offered beside CF_TEXT when it holds characters the code page
// lacks; a target that knows it takes it first.
constexpr unsigned short CF_UTF8TEXT = 0xC0F8;

// A block of memory handed between the source and the target: text bytes and the
// terminating NUL.
using HGLOBAL = std::shared_ptr<std::vector<char>>;

// A block holding the text and its NUL; null when the memory could not be had.
HGLOBAL GlobalAllocText(std::string_view text);
// The text of a block: its bytes up to the first NUL (all of them without one).
std::string GlobalText(const HGLOBAL& block);

// What is dragged: at most one text block of each format.
class COleDataObject {
 public:
  COleDataObject() = default;
  explicit COleDataObject(HGLOBAL text, HGLOBAL utf8 = nullptr)
      : m_text(std::move(text)), m_utf8(std::move(utf8)) {}
  bool IsDataAvailable(unsigned short cfFormat) const { return GetGlobalData(cfFormat) != nullptr; }
  // The block of a format, null when the data has none.
  HGLOBAL GetGlobalData(unsigned short cfFormat) const {
    return cfFormat == CF_TEXT ? m_text : cfFormat == CF_UTF8TEXT ? m_utf8 : nullptr;
  }

 protected:
  HGLOBAL m_text;
  HGLOBAL m_utf8;
};

// The source's side: the data it offers, then the modal drag loop.
class COleDataSource : public COleDataObject {
 public:
  void CacheGlobalData(unsigned short cfFormat, HGLOBAL block) {
    if (cfFormat == CF_TEXT) m_text = std::move(block);
    if (cfFormat == CF_UTF8TEXT) m_utf8 = std::move(block);
  }
  // Runs the drag loop from the source window with the effects it allows; the effect the
  // drag ended with (none when it was cancelled or refused).
  DROPEFFECT DoDragDrop(Window* pSource, DROPEFFECT dwEffects);
};

// The target's side. A window has at most one registered target.
class COleDropTarget {
 public:
  virtual ~COleDropTarget();
  // Registers the target for the window (replacing what it had); false when that failed.
  bool Register(Window* pWnd);
  void Revoke();
  Window* GetWindow() const { return m_pWnd; }

  virtual DROPEFFECT OnDragEnter(Window* pWnd, COleDataObject* pDataObject,
                                 unsigned long dwKeyState, CPoint point);
  virtual DROPEFFECT OnDragOver(Window* pWnd, COleDataObject* pDataObject,
                                unsigned long dwKeyState, CPoint point);
  virtual bool OnDrop(Window* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect,
                      CPoint point);
  virtual void OnDragLeave(Window* pWnd);
  virtual DROPEFFECT OnDragScroll(Window* pWnd, unsigned long dwKeyState, CPoint point);

 private:
  Window* m_pWnd = nullptr;
};

// The service a backend supplies.
class DragDropService {
 public:
  virtual ~DragDropService() = default;
  virtual bool RegisterDropTarget(Window* pWnd, COleDropTarget* pTarget) = 0;
  virtual void RevokeDropTarget(Window* pWnd, COleDropTarget* pTarget) = 0;
  // The modal loop; returns the final effect.
  virtual DROPEFFECT DoDragDrop(Window* pSource, const COleDataObject& data,
                                DROPEFFECT dwEffects) = 0;
};

// Installs the service used from now on; null restores the fallback.
void InstallDragDropService(std::shared_ptr<DragDropService> service);
DragDropService& CurrentDragDropService();

}  // namespace quill
