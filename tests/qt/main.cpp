// The Qt tests run inside one QApplication on the offscreen platform.

#include <gtest/gtest.h>

#include <QApplication>

#include "qt/qt_application.h"

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
  // Run by hand the program still needs no display and touches no user settings.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QUILL_TEST_MODE", "1", 0);
  if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
    const std::string dir = (std::filesystem::temp_directory_path() /
                             ("quill-qt-test-" + std::to_string(getuid()))).string();
    std::filesystem::create_directories(dir);
    std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::replace);
    setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
  }
  quill::qt::QtApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("quill tests"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
