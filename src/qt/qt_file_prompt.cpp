#include "qt/qt_file_prompt.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QAbstractFileIconProvider>
#include <QFileDialog>
#include <QFileInfo>
#include <QStyle>

#include <sys/statfs.h>

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

namespace {

// Icons and type names from the entry's kind and name alone: the default provider asks the
// MIME database, which reads files to sniff their type and blocks on special files.
class NameOnlyIconProvider : public QAbstractFileIconProvider {
 public:
  QIcon icon(IconType type) const override {
    return QApplication::style()->standardIcon(type == Folder ? QStyle::SP_DirIcon : QStyle::SP_FileIcon);
  }
  QIcon icon(const QFileInfo& info) const override { return icon(info.isDir() ? Folder : File); }
  QString type(const QFileInfo& info) const override {
    if (info.isDir()) return QStringLiteral("Folder");
    return info.suffix().isEmpty() ? QStringLiteral("File") : info.suffix().toUpper() + QStringLiteral(" File");
  }
};

bool OnPseudoFileSystem(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  for (const char* prefix : {"/proc", "/sys", "/dev"}) {
    const QString p = QString::fromLatin1(prefix);
    if (canonical == p || canonical.startsWith(p + QLatin1Char('/'))) return true;
  }
  struct statfs fs {};
  if (statfs(QFile::encodeName(folder).constData(), &fs) != 0) return false;
  switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x9fa0UL:      // proc
    case 0x62656572UL:  // sysfs
    case 0x64626720UL:  // debugfs
    case 0x74726163UL:  // tracefs
    case 0x1cd1UL:      // devpts
    case 0x27e0ebUL:    // cgroup
    case 0x63677270UL:  // cgroup2
    case 0x73636673UL:  // securityfs
    case 0x62656570UL:  // configfs
      return true;
    default:
      return false;
  }
}

}  // namespace

QString SafeStartFolder(const QString& path) {
  const QFileInfo info(path);
  const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
  return OnPseudoFileSystem(folder) ? QDir::homePath() : folder;
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
  QStringList filters = NameFiltersOf(request.filter);
  if (!filters.isEmpty()) {
    filters << QStringLiteral("All files (*)");
    dialog.setNameFilters(filters);
  }
  if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(QString::fromLocal8Bit(request.defaultExtension.c_str()));
  NameOnlyIconProvider icons;
  dialog.setIconProvider(&icons);
  dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
  // Start in the proposed name's folder (else the given or current one), never on a pseudo
  // file system; only the name part is proposed.
  const QString initialName = QFile::decodeName(request.initialFileName.c_str());
  QString folder = request.initialDirectory.empty() ? QDir::currentPath()
                                                    : QFile::decodeName(request.initialDirectory.c_str());
  if (initialName.contains(QLatin1Char('/'))) folder = QFileInfo(initialName).absolutePath();
  dialog.setDirectory(SafeStartFolder(folder));
  if (!initialName.isEmpty()) dialog.selectFile(QFileInfo(initialName).fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QByteArray path = QFile::encodeName(dialog.selectedFiles().first());
  return std::string(path.constData(), static_cast<std::size_t>(path.size()));
}

}  // namespace quill::qt
