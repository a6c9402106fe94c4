#include "qt/editor_splitter.h"

#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

#include "qt/editor_widget.h"

namespace quill::qt {

EditorSplitter::EditorSplitter(int rows, int columns, QWidget* parent)
    : QWidget(parent), m_rows(std::clamp(rows, 1, 16)), m_columns(std::clamp(columns, 1, 16)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* outer = new QSplitter(Qt::Vertical, this);
  layout->addWidget(outer);
  for (int r = 0; r < m_rows; ++r) {
    auto* row = new QSplitter(Qt::Horizontal, outer);
    outer->addWidget(row);
    m_rowSplitters.push_back(row);
    for (int c = 0; c < m_columns; ++c) row->addWidget(new QWidget(row));
  }
  m_panes.assign(static_cast<std::size_t>(m_rows * m_columns), nullptr);
}

void EditorSplitter::SetPane(int row, int column, EditorWidget* editor) {
  if (row < 0 || row >= m_rows || column < 0 || column >= m_columns || editor == nullptr) return;
  QSplitter* rowSplitter = m_rowSplitters[static_cast<std::size_t>(row)];
  QWidget* old = rowSplitter->replaceWidget(column, editor);
  if (old != nullptr && old != editor) old->deleteLater();
  m_panes[static_cast<std::size_t>(row * m_columns + column)] = editor;
  editor->SetPane(this, row, column);
}

EditorWidget* EditorSplitter::Pane(int row, int column) const {
  if (row < 0 || row >= m_rows || column < 0 || column >= m_columns) return nullptr;
  return m_panes[static_cast<std::size_t>(row * m_columns + column)];
}

QuillView* EditorSplitter::PaneView(int row, int column) const {
  EditorWidget* pane = Pane(row, column);
  return pane != nullptr && pane->IsCreated() ? pane->View() : nullptr;
}

}  // namespace quill::qt
