// dnd_probe: the other program of the drag-and-drop test between processes on a real X
// server.
//
//   dnd_probe field OUT          a window "dnd-field" with a line edit holding "café €",
//                                its text written to OUT (UTF-8) whenever it changes
//   dnd_probe find RRGGBB X Y W H
//                                prints the centre "x y" of the solid runs of that colour
//                                in the screen's rectangle; exit 1 when there are none
//   dnd_probe shot PNG           the whole screen into PNG (to see what went wrong)

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int Field(const char* out) {
  QWidget window;
  window.setWindowTitle("dnd-field");
  auto* edit = new QLineEdit(QString::fromUtf8("caf\xC3\xA9 \xE2\x82\xAC"), &window);
  edit->setDragEnabled(true);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(edit);
  const auto write = [out](const QString& text) {
    QFile file(QString::fromLocal8Bit(out));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text.toUtf8());
  };
  QObject::connect(edit, &QLineEdit::textChanged, write);
  write(edit->text());
  window.resize(400, 80);
  window.show();
  return QApplication::exec();
}

int Find(char** argv) {
  const QRgb wanted = 0xFF000000u | static_cast<QRgb>(std::strtoul(argv[0], nullptr, 16));
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  const QImage image =
      QGuiApplication::primaryScreen()->grabWindow(0, x, y, std::atoi(argv[3]), std::atoi(argv[4]))
          .toImage()
          .convertToFormat(QImage::Format_RGB32);
  // Only runs of at least kRun pixels count: a selected block, not the strokes of glyphs
  // drawn in the same colour.
  constexpr int kRun = 16;
  long sx = 0, sy = 0, n = 0;
  for (int j = 0; j < image.height(); ++j) {
    for (int i = 0; i < image.width();) {
      int end = i;
      while (end < image.width() && image.pixel(end, j) == wanted) ++end;
      if (end - i >= kRun) {
        for (int k = i; k < end; ++k) sx += k, sy += j, ++n;
      }
      i = end > i ? end : i + 1;
    }
  }
  if (n == 0) return 1;
  std::printf("%ld %ld\n", x + sx / n, y + sy / n);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc == 3 && std::strcmp(argv[1], "field") == 0) return Field(argv[2]);
  if (argc == 7 && std::strcmp(argv[1], "find") == 0) return Find(argv + 2);
  if (argc == 3 && std::strcmp(argv[1], "shot") == 0) {
    return QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromLocal8Bit(argv[2])) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: dnd_probe field OUT | find RRGGBB X Y W H | shot PNG\n");
  return 2;
}
