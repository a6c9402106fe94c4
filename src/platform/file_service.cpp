#include "platform/file_service.h"

#include "platform/platform_services.h"
#include "platform/posix/posix_file_service.h"

namespace quill {
IFileService& GetFileService() {
  static PosixFileService posix;
  return InstalledOr(&PlatformServices::pFiles, posix);
}

void SetFileService(IFileService* service) { InstalledPlatformServices().pFiles = Unowned(service); }

ScopedFileService::ScopedFileService(IFileService* service)
    : m_previous(InstalledPlatformServices().pFiles) {
  SetFileService(service);
}

ScopedFileService::~ScopedFileService() { InstalledPlatformServices().pFiles = m_previous; }

}  // namespace quill
