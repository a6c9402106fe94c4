// quill-settings: the current user's settings store from the command line.
//
//   quill-settings list [KEY]           lists KEY (the whole store) with all below it
//   quill-settings export [--format=5] FILE [KEY]
//                                       writes a registry text file ('-': stdout): REGEDIT4,
//                                       or with --format=5 the UTF-16 format of Windows
//   quill-settings import FILE          applies such a file, all of it or nothing ('-': stdin)
//
// A line break or NUL in a name is written as \r, \n or \0 (a key holding one is written
// quoted, see settings/regfile.h), so every export imports back to the same store.

#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/file_errors.h"
#include "platform/file_service.h"
#include "settings/regfile.h"
#include "settings/sqlite_store.h"

namespace {

int NoKey(const std::string& key) {
  std::cerr << "quill-settings: no key " << key << "\n";
  return 1;
}

int Usage() {
  std::cerr << "usage: quill-settings list [KEY]\n"
               "       quill-settings export [--format=5] FILE [KEY]\n"
               "       quill-settings import FILE\n"
               "The store is " << quill::DefaultSettingsPath() << "\n";
  return 2;
}

bool ReadAll(const std::string& file, std::string* out) {
  if (file == "-") {
    out->assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  out->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

// Writes as a save does: through a temporary file in the folder of the file a symbolic link
// leads to, given the permissions and owner of the file it replaces, then renamed into
// place, so FILE is never left half written. On failure *why tells the reason.
bool WriteAll(const std::string& file, const std::string& text, std::string* why) {
  if (file == "-") {
    std::cout << text;
    if (std::cout.flush()) return true;
    *why = "the output cannot be written";
    return false;
  }
  quill::IFileService& fs = quill::GetFileService();
  auto fail = [&] {
    *why = quill::SystemErrorMessage(quill::GetLastError());
    return false;
  };
  const std::string target = fs.ResolveLinks(file);
  struct stat st;
  if (::stat(target.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    *why = "it is a folder";
    return false;
  }
  size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
  std::string temp;
  if (!fs.GetTempFileName(folder, "qse", temp)) return fail();
  auto out = fs.Open(temp, quill::GENERIC_WRITE, 0, quill::TRUNCATE_EXISTING);
  std::uint32_t written = 0;
  bool ok = out && out->Write(text.data(), static_cast<std::uint32_t>(text.size()), written) &&
            out->Flush() && out->Close();
  if (ok && fs.GetAttributes(target) != quill::INVALID_FILE_ATTRIBUTES) {
    fs.CopyMetadata(target, temp);
  }
  if (!ok || !fs.Move(temp, target)) {
    std::uint32_t code = quill::GetLastError();
    out.reset();
    fs.Delete(temp);
    quill::SetLastError(code);
    return fail();
  }
  return true;
}

// Exit status after reading the store: a store that could not be opened is an error (the
// store has said why on stderr).
int ReadStatus(const quill::SqliteSettingsStore& store) {
  return store.problem().empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  quill::SqliteSettingsStore store(quill::DefaultSettingsPath());

  if (command == "list" && argc <= 3) {
    std::string key = argc == 3 ? argv[2] : "";
    std::string text;
    bool found = quill::ListSettings(store, key, &text);
    if (int status = ReadStatus(store)) return status;
    if (!found) return NoKey(key);
    std::cout << text;
    return 0;
  }

  if (command == "export") {
    int first = 2;
    auto format = quill::RegFileFormat::kRegedit4;
    if (argc > 2 && std::string(argv[2]).rfind("--format=", 0) == 0) {
      std::string which = argv[2] + 9;
      if (which == "5") {
        format = quill::RegFileFormat::kVersion5;
      } else if (which != "4") {
        return Usage();
      }
      ++first;
    }
    if (argc != first + 1 && argc != first + 2) return Usage();
    std::string file = argv[first];
    std::string key = argc == first + 2 ? argv[first + 1] : "";
    std::string text;
    bool found = quill::ExportRegFile(store, key, &text, format);
    if (int status = ReadStatus(store)) return status;
    if (!found) return NoKey(key);
    std::string why;
    if (!WriteAll(file, text, &why)) {
      std::cerr << "quill-settings: cannot write " << file << ": " << why << "\n";
      return 1;
    }
    return 0;
  }

  if (command == "import" && argc == 3) {
    std::string file = argv[2];
    std::string text;
    if (!ReadAll(file, &text)) {
      std::cerr << "quill-settings: cannot read " << file << "\n";
      return 1;
    }
    quill::RegFile parsed;
    quill::RegFileError error;
    if (!quill::ParseRegFile(text, &parsed, &error)) {
      std::cerr << file << ":" << error.line << ": " << error.message << "\n";
      return 1;
    }
    if (!quill::ApplyRegFile(store, parsed)) {
      std::cerr << "quill-settings: cannot write the store " << quill::DefaultSettingsPath()
                << "; nothing was changed\n";
      return 1;
    }
    return 0;
  }
  return Usage();
}
