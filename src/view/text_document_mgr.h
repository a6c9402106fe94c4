#pragma once
// TTextDocumentMgr: the host's list of document types that the text-style page offers.
// Each entry pairs a display name with the view class that edits documents of that type;
// the style of a type comes from a throw-away view of that class, so the list needs no
// knowledge of languages.

#include <string>
#include <vector>

#include "view/quill_view.h"

namespace quill {

class TDocumentStyle;

class TTextDocumentMgr {
 public:
  TTextDocumentMgr() = default;
  virtual ~TTextDocumentMgr() = default;

  // Appends an entry; duplicates are kept, the index of an entry is its position.
  void AddDocument(const std::string& name, QuillView::ViewFactory viewClass);
  unsigned int GetCount() const { return static_cast<unsigned int>(m_entries.size()); }
  // The entry's name, or "" for an index out of range.
  std::string GetDocTypeName(unsigned int index);
  // A new style owned by the caller: a copy of the style that a new view of the entry's
  // class creates. Null for an index out of range, an empty view class or a view that
  // makes no style.
  TDocumentStyle* GetDocStyle(unsigned int index) const;

 private:
  struct Entry {
    std::string name;
    QuillView::ViewFactory viewClass;
  };
  std::vector<Entry> m_entries;
};

}  // namespace quill
