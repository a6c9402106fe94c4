// quillpad [FILE...] [--screenshot PNG] [--print-pdf PDF] [--time-first-paint]
//
// A multi-document editor for netlists, rule decks, sources and logs.
//   --screenshot PNG    render the main window with the files once they are loaded into
//                       PNG, then exit
//   --print-pdf PDF     print the first file to PDF, then exit
//   --time-first-paint  print the seconds from start to the first painted editor, then exit
//   --screenshot-options PREFIX  render the pages of Tools > Options into PREFIX-1.png,
//                       PREFIX-2.png, then exit
//   --time-repaint      print the median time of a full repaint of a 1200 x 900 editor
//                       window of the first file, then exit

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QPointer>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <string_view>
#include <cstdio>
#include <vector>

#include <QMessageBox>
#include <QPainter>

#include "editor_host.h"
#include "language_views.h"
#include "main_window.h"
#include "pad_document.h"
#include "print_pdf.h"
#include "tools_menu.h"
#include "qt/quill_qt.h"

namespace {

using Clock = std::chrono::steady_clock;

// Reports the time from `start` to the end of the first paint of the window's editor.
// Runs `job` once `window` has been shown and painted (on a real display the window
// manager maps it some time after show()).
void RunWhenExposed(QWidget* window, std::function<void()> job) {
  auto* poll = new QTimer(window);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, window, [window, poll, job = std::move(job)] {
    if (window->windowHandle() == nullptr || !window->windowHandle()->isExposed()) return;
    poll->stop();
    poll->deleteLater();
    job();
  });
  poll->start();
}

class FirstPaintTimer : public QObject {
 public:
  FirstPaintTimer(Clock::time_point start, QWidget* target, double loadSeconds, double loadCpu)
      : m_start(start), m_load(loadSeconds), m_loadCpu(loadCpu) {
    target->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !m_seen) {
      m_seen = true;
      // Queued: runs once this paint has finished.
      QTimer::singleShot(0, this, [this] {
        const double s = std::chrono::duration<double>(Clock::now() - m_start).count();
        std::printf("first paint after %.3f s (loading the files %.3f s, %.3f s of CPU)\n", s,
                    m_load, m_loadCpu);
        std::fflush(stdout);
        QApplication::exit(0);
      });
    }
    return false;
  }

 private:
  Clock::time_point m_start;
  double m_load;
  double m_loadCpu;
  bool m_seen = false;
};

// --help and --version answer without a window system (a QApplication needs a display).
bool WantsOnlyText(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg(argv[i]);
    if (arg == "--") break;
    if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "-v" || arg == "--version") return true;
  }
  return false;
}

std::unique_ptr<QCoreApplication> CreateApplication(int& argc, char** argv) {
  std::unique_ptr<QCoreApplication> app;
  if (WantsOnlyText(argc, argv)) app = std::make_unique<QCoreApplication>(argc, argv);
  else app = std::make_unique<quill::qt::QtApplication>(argc, argv);
  QCoreApplication::setApplicationName("quillpad");
  QCoreApplication::setApplicationVersion(QUILLPAD_VERSION);
  // The desktop finds the application entry (quillpad.desktop) and its icon by this name.
  if (auto* gui = qobject_cast<QGuiApplication*>(app.get())) {
    gui->setDesktopFileName("quillpad");
    QGuiApplication::setWindowIcon(QIcon::fromTheme("quillpad"));
  }
  return app;
}

// The options besides the files, in the order --help lists them.
struct Options {
  QCommandLineOption screenshot{"screenshot", "Render the main window into PNG and exit.", "PNG"};
  QCommandLineOption printPdf{"print-pdf", "Print the first file to PDF and exit.", "PDF"};
  QCommandLineOption firstPaint{"time-first-paint",
                                "Print the time from start to the first painted editor and exit."};
  QCommandLineOption repaint{"time-repaint",
                             "Print the median time of a full repaint of a 1200 x 900 editor."};
  QCommandLineOption optionsShot{"screenshot-options",
                                 "Render the pages of Tools > Options into PREFIX-<n>.png and exit.",
                                 "PREFIX"};
  QCommandLineOption searchShot{"screenshot-search-dialogs",
                                "Render the Find, Replace and GoTo dialogs into PREFIX-<name>.png and exit.",
                                "PREFIX"};

  explicit Options(QCommandLineParser& parser) {
    parser.setApplicationDescription("A multi-document editor for netlists, rule decks, sources and logs.");
    parser.addHelpOption();
    parser.addVersionOption();
    for (const QCommandLineOption* option :
         {&screenshot, &printPdf, &firstPaint, &repaint, &optionsShot, &searchShot})
      parser.addOption(*option);
    parser.addPositionalArgument("files", "Files to open.", "[FILE...]");
  }
};

// The widget the current editor paints its text in.
QWidget* EditorSurface(quillpad::MainWindow& window) {
  QWidget* editor = window.findChild<QTabWidget*>()->currentWidget();
  if (auto* area = qobject_cast<QAbstractScrollArea*>(editor)) return area->viewport();
  return editor;
}

// Prints the median of 21 full repaints of the current editor made 1200 x 900, against
// filling an image of the same size with one colour, then exits.
void TimeRepaint(quillpad::MainWindow& window) {
  QWidget* target = EditorSurface(window);
  // Make the editor's own area 1200 x 900.
  window.resize(window.size() + QSize(1200, 900) - target->size());
  QApplication::processEvents();
  std::vector<double> times;
  for (int i = 0; i < 21; ++i) {
    const Clock::time_point t0 = Clock::now();
    target->repaint();
    times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  // Baseline: filling an image of the same size with one colour.
  QImage image(target->size(), QImage::Format_RGB32);
  std::vector<double> fills;
  for (int i = 0; i < 21; ++i) {
    const Clock::time_point t0 = Clock::now();
    QPainter(&image).fillRect(image.rect(), QColor(255, 255, 255));
    fills.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  std::sort(times.begin(), times.end());
  std::sort(fills.begin(), fills.end());
  const double median = times[times.size() / 2], fill = fills[fills.size() / 2];
  std::printf("full repaint of %dx%d: median %.2f ms (min %.2f, max %.2f, 21 runs); "
              "fill baseline %.3f ms; ratio %.1f\n",
              target->width(), target->height(), median, times.front(), times.back(), fill,
              median / fill);
  QApplication::exit(0);
}

// After delayMs, writes the files with `write` and exits: 0 when it could, else 1 with
// "cannot write" and what on stderr.
void WriteAndExit(QWidget* window, int delayMs, std::function<bool()> write, const QString& what) {
  QTimer::singleShot(delayMs, window, [write = std::move(write), what] {
    const bool ok = write();
    if (!ok) std::fprintf(stderr, "quillpad: cannot write %s\n", what.toLocal8Bit().constData());
    QApplication::exit(ok ? 0 : 1);
  });
}

}  // namespace

int main(int argc, char** argv) {
  const Clock::time_point start = Clock::now();
  const std::unique_ptr<QCoreApplication> app = CreateApplication(argc, argv);
  QCommandLineParser parser;
  const Options options(parser);
  parser.process(*app);
  const QStringList files = parser.positionalArguments();

  if (parser.isSet(options.printPdf)) {
    if (files.isEmpty()) {
      std::fprintf(stderr, "quillpad: --print-pdf needs a file to print\n");
      return 2;
    }
    return quillpad::PrintFileToPdf(files.first(), parser.value(options.printPdf));
  }

  quillpad::MainWindow window;
  const bool measuring = parser.isSet(options.screenshot) || parser.isSet(options.firstPaint) ||
                         parser.isSet(options.repaint);
  if (measuring) {
    // Nobody is there to answer a message box: report it and go on.
    quill::qt::InstallPlatform().SetMessageBoxHook([](QMessageBox& box) {
      std::fprintf(stderr, "quillpad: %s\n", box.text().toLocal8Bit().constData());
      box.reject();
    });
  }
  // A plain start takes up the last session: the window's place and, without files named
  // on the command line, the files that were open.
  if (!measuring) window.RestoreSession(files.isEmpty());
  const Clock::time_point loadStart = Clock::now();
  const std::clock_t loadCpuStart = std::clock();
  for (const QString& f : files) window.OpenFile(f);
  const double loadSeconds = std::chrono::duration<double>(Clock::now() - loadStart).count();
  const double loadCpu = static_cast<double>(std::clock() - loadCpuStart) / CLOCKS_PER_SEC;
  if (window.DocumentCount() == 0) window.NewFile();
  else if (!files.isEmpty()) window.SetCurrentDocument(0);
  window.show();

  if (parser.isSet(options.firstPaint)) {
    new FirstPaintTimer(start, EditorSurface(window), loadSeconds, loadCpu);
    return QApplication::exec();
  }
  // Measured once the window is on the screen: a repaint of a hidden widget paints nothing.
  if (parser.isSet(options.repaint)) RunWhenExposed(&window, [&window] { TimeRepaint(window); });
  if (parser.isSet(options.optionsShot)) {
    const QString prefix = parser.value(options.optionsShot);
    WriteAndExit(&window, 0, [&window, prefix] { return quillpad::ScreenshotOptions(window, prefix); },
                 prefix + "-*.png");
  }
  if (parser.isSet(options.searchShot)) {
    const QString prefix = parser.value(options.searchShot);
    WriteAndExit(&window, 200,
                 [&window, prefix] { return quillpad::ScreenshotSearchDialogs(window, prefix); },
                 prefix + "-*.png");
  }
  if (parser.isSet(options.screenshot)) {
    const QString png = parser.value(options.screenshot);
    WriteAndExit(&window, 0, [&window, png] { return window.grab().save(png, "PNG"); }, png);
  }
  return QApplication::exec();
}
