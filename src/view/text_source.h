#pragma once
// ITextSource: lines of text with a selection, shown in a document and a window: what a
// report over a view's text (the statistics dialog) reads. QuillView implements it.

#include <string>

#include "platform/types.h"

namespace quill {

class CDocument;
class Window;

class ITextSource {
 public:
  virtual ~ITextSource() = default;
  virtual int GetLineCount() = 0;
  virtual int GetLineLength(int nLineIndex) = 0;
  virtual const char* GetLineChars(int nLineIndex) = 0;
  // The selection, start before end; false (and the range untouched) when there is none.
  virtual bool GetSelectedRange(CPoint& ptStart, CPoint& ptEnd) = 0;
  // The document the text belongs to, or null.
  virtual CDocument* GetSourceDocument() const = 0;
  // The name of the text's document type.
  virtual std::string GetCaption() const = 0;
  // The window showing the text, or null.
  virtual Window* GetSourceWindow() const = 0;
};

}  // namespace quill
