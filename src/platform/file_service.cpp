#include "platform/file_service.h"

#include "platform/posix/posix_file_service.h"

namespace quill {
namespace {

IFileService* g_pFileService = nullptr;

IFileService* DefaultFileService() {
  static PosixFileService service;
  return &service;
}

}  // namespace

IFileService& GetFileService() {
  return g_pFileService ? *g_pFileService : *DefaultFileService();
}

void SetFileService(IFileService* service) { g_pFileService = service; }

ScopedFileService::ScopedFileService(IFileService* service) : m_pPrevious(g_pFileService) {
  g_pFileService = service;
}

ScopedFileService::~ScopedFileService() { g_pFileService = m_pPrevious; }

}  // namespace quill
