#include "settings/sqlite_store.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace quill {

namespace {

constexpr int kBusyTimeoutMs = 5000;
constexpr SettingsKeyId kRootId = 1;

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS keys("
    "  id INTEGER PRIMARY KEY,"
    "  parent INTEGER REFERENCES keys(id) ON DELETE CASCADE,"
    "  name TEXT NOT NULL,"
    "  path TEXT NOT NULL UNIQUE COLLATE NOCASE);"
    "CREATE INDEX IF NOT EXISTS keys_parent ON keys(parent);"
    "CREATE TABLE IF NOT EXISTS vals("
    "  key INTEGER NOT NULL REFERENCES keys(id) ON DELETE CASCADE,"
    "  name TEXT NOT NULL COLLATE NOCASE,"
    "  type INTEGER NOT NULL,"
    "  data BLOB NOT NULL,"
    "  PRIMARY KEY(key, name)) WITHOUT ROWID;"
    "INSERT OR IGNORE INTO keys(id, parent, name, path) VALUES(1, NULL, '', '');";

enum Sql {
  kFindKey,
  kKeyPath,
  kInsertKey,
  kHasChildren,
  kDeleteKey,
  kQueryValue,
  kQueryValueAt,
  kSetValue,
  kDeleteValue,
  kEnumKeys,
  kEnumValues,
  kBegin,
  kCommit,
  kRollback,
  kSqlCount
};

const char* const kSql[kSqlCount] = {
    "SELECT id FROM keys WHERE path = ?1",
    "SELECT path FROM keys WHERE id = ?1",
    "INSERT INTO keys(parent, name, path) VALUES(?1, ?2, ?3)",
    "SELECT 1 FROM keys WHERE parent = ?1 LIMIT 1",
    "DELETE FROM keys WHERE id = ?1",
    "SELECT name, type, data FROM vals WHERE key = ?1 AND name = ?2",
    ("SELECT v.name, v.type, v.data FROM keys k JOIN vals v ON v.key = k.id"
     " WHERE k.path = ?1 AND v.name = ?2"),
    ("INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4) "
     "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data"),
    "DELETE FROM vals WHERE key = ?1 AND name = ?2",
    "SELECT name FROM keys WHERE parent = ?1 ORDER BY name COLLATE NOCASE",
    "SELECT name, type, data FROM vals WHERE key = ?1 ORDER BY name",
    "BEGIN IMMEDIATE",
    "COMMIT",
    "ROLLBACK",
};

bool IsBroken(int rc) {
  int primary = rc & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// mkdir -p of the folder holding path.
bool MakeParentDirs(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return true;
  std::string dir = path.substr(0, slash);
  for (size_t i = 1; i <= dir.size(); ++i) {
    if (i == dir.size() || dir[i] == '/') {
      std::string prefix = dir.substr(0, i);
      if (::mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
  }
  struct stat st;
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string_view ColumnText(sqlite3_stmt* s, int col) {
  const void* p = sqlite3_column_blob(s, col);
  int n = sqlite3_column_bytes(s, col);
  return p ? std::string_view(static_cast<const char*>(p), static_cast<size_t>(n))
           : std::string_view();
}

}  // namespace

struct SqliteSettingsStore::Impl {
  std::string path;
  sqlite3* db = nullptr;
  sqlite3_stmt* stmts[kSqlCount] = {};
  std::recursive_mutex mutex;
  int depth = 0;        // nesting of Transact
  bool broken = false;  // the file turned out not to be a usable database

  // Declared first in every operation, so it runs after the statements are reset: a
  // database found broken is then closed and moved aside, once no transaction is open.
  struct OpGuard {
    Impl* impl;
    ~OpGuard() {
      if (impl->broken && impl->depth == 0) {
        impl->Close();
        impl->MoveAside();
        impl->broken = false;
      }
    }
  };

  // A prepared statement, reset and unbound when it goes out of scope.
  class Stmt {
   public:
    explicit Stmt(sqlite3_stmt* s) : s_(s) {}
    ~Stmt() {
      sqlite3_reset(s_);
      sqlite3_clear_bindings(s_);
    }
    Stmt(const Stmt&) = delete;
    Stmt& operator=(const Stmt&) = delete;
    sqlite3_stmt* get() const { return s_; }
    void Bind(int i, std::int64_t v) { sqlite3_bind_int64(s_, i, v); }
    void BindText(int i, std::string_view t) {
      sqlite3_bind_text(s_, i, t.empty() ? "" : t.data(), static_cast<int>(t.size()),
                        SQLITE_TRANSIENT);
    }
    void BindBlob(int i, std::string_view b) {
      sqlite3_bind_blob(s_, i, b.empty() ? "" : b.data(), static_cast<int>(b.size()),
                        SQLITE_TRANSIENT);
    }

   private:
    sqlite3_stmt* s_;
  };

  ~Impl() { Close(); }

  void Close() {
    for (auto& s : stmts) {
      sqlite3_finalize(s);
      s = nullptr;
    }
    if (db) sqlite3_close_v2(db);
    db = nullptr;
    depth = 0;
  }

  // Renames the database and its companions aside, keeping them for inspection.
  void MoveAside() {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    std::string suffix = std::string(".corrupt-") + stamp;
    std::rename(path.c_str(), (path + suffix).c_str());
    std::rename((path + "-wal").c_str(), (path + suffix + "-wal").c_str());
    ::unlink((path + "-shm").c_str());
  }

  // Opens (creating when absent) the database, sets it up and prepares the statements.
  int OpenOnce() {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                          " PRAGMA foreign_keys=ON;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
    rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
    rc = sqlite3_exec(db, kSchema, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
      sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
      return rc;
    }
    rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
    for (int i = 0; i < kSqlCount; ++i) {
      rc = sqlite3_prepare_v3(db, kSql[i], -1, SQLITE_PREPARE_PERSISTENT, &stmts[i], nullptr);
      // A database whose tables have another shape is not ours to use.
      if (rc != SQLITE_OK) return SQLITE_NOTADB;
    }
    return SQLITE_OK;
  }

  // Opens the connection when needed; without create, only an existing file is opened.
  bool Connect(bool create) {
    if (db) return true;
    bool exists = PathExists(path);
    if (!exists && !create) return false;
    if (!exists && !MakeParentDirs(path)) return false;
    int rc = OpenOnce();
    if (rc == SQLITE_OK) return true;
    Close();
    if (exists && (IsBroken(rc) || rc == SQLITE_CANTOPEN)) {
      MoveAside();
      if (OpenOnce() == SQLITE_OK) return true;
      Close();
    }
    return false;
  }

  // Notes the result of a step; a broken database is dealt with by OpGuard.
  bool Ok(int rc) {
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return true;
    if (IsBroken(rc)) broken = true;
    return false;
  }

  bool Exec(Sql which) {
    Stmt s(stmts[which]);
    return Ok(sqlite3_step(s.get()));
  }

  SettingsKeyId FindKey(std::string_view normalized) {
    Stmt s(stmts[kFindKey]);
    s.BindText(1, normalized);
    return Row(s) ? sqlite3_column_int64(s.get(), 0) : kNoKey;
  }

  // Creates the missing keys of path inside the current transaction.
  SettingsKeyId CreatePath(std::string_view path_text) {
    SettingsKeyId id = kRootId;
    std::string stored;  // path of id as stored
    std::string prefix;
    for (std::string_view part : SplitKeyPath(path_text)) {
      if (!prefix.empty()) prefix.push_back('\\');
      prefix.append(part);
      SettingsKeyId found = FindKey(prefix);
      if (broken) return kNoKey;
      if (found != kNoKey) {
        id = found;
        Stmt p(stmts[kKeyPath]);
        p.Bind(1, id);
        if (!Row(p)) return kNoKey;
        stored = std::string(ColumnText(p.get(), 0));
        continue;
      }
      std::string made = stored.empty() ? std::string(part) : stored + "\\" + std::string(part);
      Stmt ins(stmts[kInsertKey]);
      ins.Bind(1, id);
      ins.BindText(2, part);
      ins.BindText(3, made);
      if (!Ok(sqlite3_step(ins.get()))) return kNoKey;
      id = sqlite3_last_insert_rowid(db);
      stored = std::move(made);
    }
    return id;
  }

  // Steps s; false (noting the error) when it gives no row.
  bool Row(Stmt& s) {
    int rc = sqlite3_step(s.get());
    if (rc == SQLITE_ROW) return true;
    Ok(rc);
    return false;
  }

  static void ReadValue(sqlite3_stmt* s, RegValue* out) {
    out->name = std::string(ColumnText(s, 0));
    out->type = static_cast<std::uint32_t>(sqlite3_column_int64(s, 1));
    out->data = std::string(ColumnText(s, 2));
  }

  // Steps a name, type, data query into out; false when it finds no value.
  bool ValueRow(Stmt& s, RegValue* out) {
    if (!Row(s)) return false;
    if (out) ReadValue(s.get(), out);
    return true;
  }
};

SqliteSettingsStore::SqliteSettingsStore(std::string path) : impl_(std::make_unique<Impl>()) {
  impl_->path = std::move(path);
}

SqliteSettingsStore::~SqliteSettingsStore() = default;

const std::string& SqliteSettingsStore::path() const { return impl_->path; }

SettingsKeyId SqliteSettingsStore::OpenKey(std::string_view path, bool create) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (!impl_->Connect(create)) return kNoKey;
  std::string normalized = NormalizeKeyPath(path);
  SettingsKeyId id = impl_->FindKey(normalized);
  if (id != kNoKey || !create || impl_->broken) return id;
  if (impl_->depth > 0) return impl_->CreatePath(normalized);
  if (!impl_->Exec(kBegin)) return kNoKey;
  id = impl_->CreatePath(normalized);
  if (id == kNoKey || !impl_->Exec(kCommit)) {
    impl_->Exec(kRollback);
    return kNoKey;
  }
  return id;
}

bool SqliteSettingsStore::QueryValue(SettingsKeyId key, std::string_view name, RegValue* out) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (!impl_->db || key == kNoKey) return false;
  Impl::Stmt s(impl_->stmts[kQueryValue]);
  s.Bind(1, key);
  s.BindText(2, name);
  return impl_->ValueRow(s, out);
}

bool SqliteSettingsStore::QueryValueAt(std::string_view path, std::string_view name,
                                       RegValue* out) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (!impl_->Connect(false)) return false;
  Impl::Stmt s(impl_->stmts[kQueryValueAt]);
  s.BindText(1, NormalizeKeyPath(path));
  s.BindText(2, name);
  return impl_->ValueRow(s, out);
}

bool SqliteSettingsStore::SetValue(SettingsKeyId key, std::string_view name, std::uint32_t type,
                                   std::string_view data) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (!impl_->db || key == kNoKey) return false;
  Impl::Stmt s(impl_->stmts[kSetValue]);
  s.Bind(1, key);
  s.BindText(2, name);
  s.Bind(3, type);
  s.BindBlob(4, data);
  return impl_->Ok(sqlite3_step(s.get()));
}

bool SqliteSettingsStore::DeleteValue(SettingsKeyId key, std::string_view name) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (!impl_->db || key == kNoKey) return false;
  Impl::Stmt s(impl_->stmts[kDeleteValue]);
  s.Bind(1, key);
  s.BindText(2, name);
  return impl_->Ok(sqlite3_step(s.get())) && sqlite3_changes(impl_->db) > 0;
}

bool SqliteSettingsStore::DeleteKey(std::string_view path, bool recursive) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (!impl_->Connect(false)) return false;
  SettingsKeyId id = impl_->FindKey(NormalizeKeyPath(path));
  if (id == kNoKey || id == kRootId) return false;
  if (!recursive) {
    Impl::Stmt c(impl_->stmts[kHasChildren]);
    c.Bind(1, id);
    int rc = sqlite3_step(c.get());
    if (rc != SQLITE_DONE) {
      impl_->Ok(rc);
      return false;
    }
  }
  // One statement: the cascade removes the subkeys and values in the same transaction.
  Impl::Stmt s(impl_->stmts[kDeleteKey]);
  s.Bind(1, id);
  return impl_->Ok(sqlite3_step(s.get())) && sqlite3_changes(impl_->db) > 0;
}

std::vector<std::string> SqliteSettingsStore::EnumKeys(SettingsKeyId key) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  std::vector<std::string> names;
  if (!impl_->db || key == kNoKey) return names;
  Impl::Stmt s(impl_->stmts[kEnumKeys]);
  s.Bind(1, key);
  while (impl_->Row(s)) names.emplace_back(ColumnText(s.get(), 0));
  return names;
}

std::vector<RegValue> SqliteSettingsStore::EnumValues(SettingsKeyId key) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  std::vector<RegValue> values;
  if (!impl_->db || key == kNoKey) return values;
  Impl::Stmt s(impl_->stmts[kEnumValues]);
  s.Bind(1, key);
  while (impl_->Row(s)) Impl::ReadValue(s.get(), &values.emplace_back());
  return values;
}

bool SqliteSettingsStore::Transact(const std::function<bool()>& body) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (impl_->depth > 0) return body();
  if (!impl_->Connect(true) || !impl_->Exec(kBegin)) return false;
  impl_->depth = 1;
  bool keep = false;
  try {
    keep = body();
  } catch (...) {
    impl_->depth = 0;
    impl_->Exec(kRollback);
    throw;
  }
  impl_->depth = 0;
  if (keep && !impl_->broken && impl_->Exec(kCommit)) return true;
  impl_->Exec(kRollback);
  return false;
}

}  // namespace quill
