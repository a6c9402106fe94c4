#include "view/text_document_mgr.h"

#include <memory>
#include <utility>

#include "style/document_style.h"
#include "view/quill_view.h"

namespace quill {

void TTextDocumentMgr::AddDocument(const std::string& name, QuillView::ViewFactory viewClass) {
  m_entries.push_back(Entry{name, std::move(viewClass)});
}

std::string TTextDocumentMgr::GetDocTypeName(unsigned int index) {
  return index < m_entries.size() ? m_entries[index].name : std::string();
}

TDocumentStyle* TTextDocumentMgr::GetDocStyle(unsigned int index) const {
  if (index >= m_entries.size() || !m_entries[index].viewClass) return nullptr;
  std::unique_ptr<QuillView> view = m_entries[index].viewClass();
  if (view == nullptr) return nullptr;
  // The type's style is the one its view keeps (an override hands it to the view); one
  // the view does not keep is only freed.
  std::unique_ptr<TDocumentStyle> created(view->CreateStyle());
  if (created.get() == view->GetTextStyle()) created.release();
  TDocumentStyle* copy = nullptr;
  if (const TDocumentStyle* style = view->GetTextStyle()) copy = new TDocumentStyle(*style);
  // The view's destructor saves its style when it is marked modified, then deletes it.
  view.reset();
  return copy;
}

}  // namespace quill
