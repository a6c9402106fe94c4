#include "qt/qt_file_prompt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>

namespace quill::qt {

QStringList NameFiltersOf(const std::string& filter) {
  QStringList parts = QString::fromLocal8Bit(filter.data(), static_cast<qsizetype>(filter.size()))
                          .split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const QString patterns = parts[i + 1].trimmed();
    if (description.isEmpty() && patterns.isEmpty()) break;
    // The description's own "(...)" is replaced by the patterns that really apply.
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open > 0 && description.endsWith(QLatin1Char(')'))) description = description.left(open).trimmed();
    QString list = patterns;
    list.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(description, list.simplified());
  }
  return filters;
}

std::optional<std::string> QtFilePrompt::AskFileName(const FilePromptRequest& request) {
  QFileDialog dialog(QApplication::activeWindow(), QString::fromLocal8Bit(request.title.c_str()));
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (request.save) {
    dialog.setFileMode(QFileDialog::AnyFile);
  } else {
    dialog.setFileMode((request.flags & OFN_FILEMUSTEXIST) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  }
  if (request.save && !(request.flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
  const QStringList filters = NameFiltersOf(request.filter);
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromLocal8Bit(request.defaultExtension.c_str()));
  dialog.setDirectory(request.initialDirectory.empty() ? QDir::currentPath()
                                                       : QFile::decodeName(request.initialDirectory.c_str()));
  if (!request.initialFileName.empty()) dialog.selectFile(QFile::decodeName(request.initialFileName.c_str()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QByteArray path = QFile::encodeName(dialog.selectedFiles().first());
  return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

}  // namespace quill::qt
