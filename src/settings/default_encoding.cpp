#include "settings/default_encoding.h"

#include "platform/text_encoding.h"
#include "settings/registry.h"

namespace quill {

namespace {

int s_nAsciiFileEncoding = ENCODING_WINDOWS_1252;

registry_int<int> DefaultEncodingValue() {
  return registry_int<int>(RegistryPath("\\General", "\\DefaultEncoding"), HKEY_CURRENT_USER,
                           ENCODING_UTF8);
}

}  // namespace

int GetRegistryDefaultEncoding() {
  return DefaultEncodingValue().read() == ENCODING_WINDOWS_1252 ? ENCODING_WINDOWS_1252
                                                                 : ENCODING_UTF8;
}

int GetAsciiFileEncoding() { return s_nAsciiFileEncoding; }

void SetAsciiFileEncoding(int nEncoding) {
  s_nAsciiFileEncoding = nEncoding == ENCODING_UTF8 ? ENCODING_UTF8 : ENCODING_WINDOWS_1252;
}

void SetRegistryDefaultEncoding(int nEncoding) {
  DefaultEncodingValue().write(nEncoding == ENCODING_WINDOWS_1252 ? ENCODING_WINDOWS_1252
                                                                  : ENCODING_UTF8);
}

}  // namespace quill
