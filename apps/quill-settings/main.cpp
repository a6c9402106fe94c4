// quill-settings: the current user's settings store from the command line.
//
//   quill-settings list [KEY]           lists KEY (the whole store) with all below it
//   quill-settings export FILE [KEY]    writes a REGEDIT4 registry text file ('-': stdout)
//   quill-settings import FILE          applies such a file, all of it or nothing ('-': stdin)

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "settings/regfile.h"
#include "settings/sqlite_store.h"

namespace {

int NoKey(const std::string& key) {
  std::cerr << "quill-settings: no key " << key << "\n";
  return 1;
}

int Usage() {
  std::cerr << "usage: quill-settings list [KEY]\n"
               "       quill-settings export FILE [KEY]\n"
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

// Writes through a temporary file renamed into place, so FILE is never left half written.
bool WriteAll(const std::string& file, const std::string& text) {
  if (file == "-") {
    std::cout << text;
    return static_cast<bool>(std::cout.flush());
  }
  std::string temp = file + ".tmp-" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(text.data(), static_cast<std::streamsize>(text.size())) ||
        !out.flush()) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string command = argv[1];
  quill::SqliteSettingsStore store(quill::DefaultSettingsPath());

  if (command == "list" && argc <= 3) {
    std::string key = argc == 3 ? argv[2] : "";
    std::string text;
    if (!quill::ListSettings(store, key, &text)) return NoKey(key);
    std::cout << text;
    return 0;
  }

  if (command == "export" && (argc == 3 || argc == 4)) {
    std::string file = argv[2];
    std::string key = argc == 4 ? argv[3] : "";
    std::string text;
    if (!quill::ExportRegFile(store, key, &text)) return NoKey(key);
    if (!WriteAll(file, text)) {
      std::cerr << "quill-settings: cannot write " << file << "\n";
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
