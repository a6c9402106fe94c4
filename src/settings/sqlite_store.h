#pragma once
// The settings store kept in one SQLite database file, shared by every process of the user.
//
// The file and its folders are created on the first write; until then reads find nothing.
// The database runs in WAL mode with a busy timeout and each change is its own transaction,
// so several processes may read and write at once; a change still locked out after the
// timeout is tried once more and then reported on stderr.
//
// Only a file SQLite itself finds damaged or not a database is moved aside (renamed with a
// ".corrupt-<time>" suffix, not deleted) and a fresh one started. A file this process may
// not change (read-only file or folder) is opened for reading, and changes are refused with
// a message. Any other failure to open (file handles, memory, locks, a database of another
// program) leaves the file alone, says why on stderr once, and the store gives defaults for
// its whole life. The connection and its prepared statements stay open for the life of the
// store.

#include <memory>
#include <string>

#include "settings/store.h"

namespace quill {

class SqliteSettingsStore : public SettingsStore {
 public:
  explicit SqliteSettingsStore(std::string path);
  ~SqliteSettingsStore() override;
  SqliteSettingsStore(const SqliteSettingsStore&) = delete;
  SqliteSettingsStore& operator=(const SqliteSettingsStore&) = delete;

  const std::string& path() const;
  // How long a change waits for another process's write before it gives up (5 s).
  void SetBusyTimeout(int milliseconds);
  // Why the store could not be opened, or why its last refused change was refused (the
  // message it reported); empty when nothing went wrong.
  std::string problem() const;

  SettingsKeyId OpenKey(std::string_view path, bool create) override;
  bool QueryValue(SettingsKeyId key, std::string_view name, RegValue* out) override;
  bool QueryValueAt(std::string_view path, std::string_view name, RegValue* out) override;
  bool SetValue(SettingsKeyId key, std::string_view name, std::uint32_t type,
                std::string_view data) override;
  bool DeleteValue(SettingsKeyId key, std::string_view name) override;
  bool DeleteKey(std::string_view path, bool recursive) override;
  std::vector<std::string> EnumKeys(SettingsKeyId key) override;
  std::vector<RegValue> EnumValues(SettingsKeyId key) override;
  bool Transact(const std::function<bool()>& body) override;
  bool ApplyChanges(const SettingsChanges& changes) override;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quill
