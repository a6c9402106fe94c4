// minimal_host: one editor in a main window. The host gives the component three things:
// a document (here a text buffer the view finds through LocateTextBuffer), a style (the
// language: delimiters, keywords, colours) and a parser (ParseLine, here the style's own).
//
//   minimal_host [FILE] [--screenshot PNG]
//
// With --screenshot the window is rendered into PNG once it is shown, and the program exits.

#include <QMainWindow>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <quill.h>
#include "qt/quill_qt.h"

namespace {

// A view for a tiny scripting language: '#' comments, "strings", a few keywords.
class ScriptView : public quill::QuillView {
 public:
  explicit ScriptView(quill::QuillTextBuffer* buffer) : m_buffer(buffer) {}

  quill::QuillTextBuffer* LocateTextBuffer() override { return m_buffer; }

  // The view owns the style it creates and deletes it with its window.
  quill::TDocumentStyle* CreateStyle() override {
    auto* style = new quill::TDocumentStyle(quill::DOCTYPE_TEXT, nullptr);
    style->SetSingleCommentsDelims("#", 0);
    style->SetStringDelims("\"", "\"");
    const unsigned long colors[4] = {quill::RGB(255, 255, 255), quill::RGB(0, 0, 192),
                                     quill::RGB(0, 0, 128), quill::RGB(255, 255, 255)};
    style->InitKeywordSection("Commands", colors, "_", false);
    for (const char* k : {"set", "if", "else", "proc", "return"}) style->AddKeyword(k, "Commands");
    style->SetCommentsColor(quill::RGB(0, 128, 0), 1, 0);
    style->SetTabSize(4);
    style->SetModified(false);
    return style;
  }

  unsigned long ParseLine(const char* chars, int length, unsigned long cookie, int line,
                          TEXTBLOCK* runs, int& count) override {
    return GetTextStyle()->ParseLine(chars, length, cookie, line, runs, count);
  }

 private:
  quill::QuillTextBuffer* m_buffer;
};

// Text given to InsertText breaks lines at CR LF (a lone LF would stay in the line).
const char kSample[] =
    "# a sample script\r\n"
    "proc greet {name} {\r\n"
    "    set text \"hello, $name\"\r\n"
    "    return $text\r\n"
    "}\r\n";

}  // namespace

int main(int argc, char** argv) {
  quill::qt::QtApplication app(argc, argv);
  quill::qt::InstallPlatform();

  const char* file = nullptr;
  const char* screenshot = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
      screenshot = argv[++i];
    } else {
      file = argv[i];
    }
  }

  quill::QuillTextBuffer buffer;
  if (file != nullptr) {
    if (buffer.LoadFromFile(file) != 1) {
      std::fprintf(stderr, "minimal_host: cannot load %s\n", file);
      return 1;
    }
  } else {
    buffer.InitNew(quill::CRLF_MODE_UNIX);
    int endLine = 0, endChar = 0;
    buffer.InsertText(nullptr, 0, 0, kSample, endLine, endChar);
    buffer.SetModified(false);
  }

  int status = 0;
  {
    QMainWindow window;
    auto* editor = new quill::qt::EditorWidget(std::make_unique<ScriptView>(&buffer), &window);
    window.setCentralWidget(editor);
    window.resize(480, 240);
    window.show();
    editor->InitialUpdate();

    if (screenshot != nullptr) {
      QTimer::singleShot(0, [&] {
        if (!window.grab().save(screenshot)) {
          std::fprintf(stderr, "minimal_host: cannot write %s\n", screenshot);
          app.exit(1);
        } else {
          app.exit(0);
        }
      });
    }
    status = app.exec();
    // The window and its view go before the buffer they are attached to.
  }
  quill::qt::UninstallPlatform();
  return status;
}
