#pragma once
// EditorSplitter: a window split into rows and columns of editor panes (at most 16 of
// each). Each pane is an EditorWidget whose view finds its sibling panes through the
// splitter; panes of one document attach to the same buffer.

#include <QWidget>

#include <vector>

class QSplitter;

namespace quill {
class QuillView;
}

namespace quill::qt {

class EditorWidget;

class EditorSplitter : public QWidget {
  Q_OBJECT

 public:
  EditorSplitter(int rows, int columns, QWidget* parent = nullptr);

  int Rows() const { return m_rows; }
  int Columns() const { return m_columns; }
  // Puts an editor into a pane (the splitter takes it as a child). Call before the
  // editor's InitialUpdate, so that the view takes its scroll position from its siblings.
  void SetPane(int row, int column, EditorWidget* editor);
  EditorWidget* Pane(int row, int column) const;
  QuillView* PaneView(int row, int column) const;

 private:
  int m_rows;
  int m_columns;
  std::vector<QSplitter*> m_rowSplitters;
  std::vector<EditorWidget*> m_panes;
};

}  // namespace quill::qt
