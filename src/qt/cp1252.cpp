#include "qt/cp1252.h"

#include "settings/cp1252_text.h"

namespace quill::qt {

char16_t Cp1252ToUnicode(unsigned char byte) { return Cp1252ByteToCodePoint(byte); }

char UnicodeToCp1252(char32_t codePoint) {
  const int byte = CodePointToCp1252Byte(codePoint);
  return byte < 0 ? '?' : static_cast<char>(byte);
}

QString FromCp1252(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out[i] = QChar(Cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
  }
  return text;
}

std::string ToCp1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
      ++i;
      bytes.push_back('?');
    } else if (c.isSurrogate()) {
      bytes.push_back('?');
    } else {
      bytes.push_back(UnicodeToCp1252(c.unicode()));
    }
  }
  return bytes;
}

}  // namespace quill::qt
