#include "settings/sqlite_store.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

#include "platform/format.h"
#include "platform/paths.h"

namespace quill {

namespace {

constexpr int kDefaultBusyTimeoutMs = 5000;
// A write still blocked after the busy timeout is tried this many more times.
constexpr int kWriteRetries = 1;
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

// Result of opening a file that is a database of some other shape.
constexpr int kWrongShape = -1;

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

bool IsBusy(int rc) {
  int primary = rc & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

bool PathExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

// Whether this process may change the file and create its companions beside it.
bool Writable(const std::string& path) {
  return ::access(path.c_str(), W_OK) == 0 && ::access(ParentFolderOrDot(path).c_str(), W_OK) == 0;
}

// A file: URI for path with the given query, for opening modes only URIs can ask for.
std::string FileUri(const std::string& path, const char* query) {
  std::string uri = "file:";
  for (unsigned char c : path) {
    if (std::isalnum(c) || std::strchr("/-._~", c)) {
      uri.push_back(static_cast<char>(c));
    } else {
      uri += Format("%%%02X", c);
    }
  }
  return uri + "?" + query;
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
  bool busy = false;    // the last step found the database locked by another writer
  bool read_only = false;     // the connection may read only
  bool may_move_aside = false;  // a broken file seen through this connection is moved aside
  bool failed = false;  // opening failed for a reason that is not the file's: defaults only
  int busy_timeout_ms = kDefaultBusyTimeoutMs;
  int open_errno = 0;   // what the system said when the last open failed
  std::string problem;  // why the store is not usable, or cannot be written
  std::chrono::steady_clock::time_point busy_since;

  // Declared first in every operation, so it runs after the statements are reset: a
  // database found broken is then closed and moved aside, once no transaction is open.
  struct OpGuard {
    Impl* impl;
    ~OpGuard() {
      if (impl->broken && impl->depth == 0) {
        bool move = impl->may_move_aside;
        impl->Close();
        if (move) impl->MoveAside();
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
    Finalize();
    if (db) sqlite3_close_v2(db);
    db = nullptr;
    depth = 0;
    read_only = false;
    may_move_aside = false;
  }

  // Waits for another process's write in short steps, so a writer gets in during the
  // short gaps between the transactions of a long import.
  static int OnBusy(void* arg, int count) {
    auto* impl = static_cast<Impl*>(arg);
    auto now = std::chrono::steady_clock::now();
    if (count == 0) impl->busy_since = now;
    if (now - impl->busy_since >= std::chrono::milliseconds(impl->busy_timeout_ms)) return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
  }

  // Renames the database and its companions aside, keeping them for inspection. When the
  // database itself cannot be renamed nothing is touched: the store is given up for this
  // process with defaults, and the message says so. Returns whether it was moved.
  bool MoveAside() {
    char stamp[32];
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&now, &tm);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    std::string aside = path + ".corrupt-" + stamp;
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
      return Fail(Format("the settings store %s is damaged and could not be moved aside (%s); "
                         "it was left as it is and settings keep their defaults",
                         path.c_str(), std::strerror(errno)));
    }
    std::string journal;
    if (std::rename((path + "-wal").c_str(), (aside + "-wal").c_str()) != 0 && errno != ENOENT) {
      journal = Format(" (its journal %s-wal could not be moved: %s)", path.c_str(),
                       std::strerror(errno));
    }
    ::unlink((path + "-shm").c_str());
    ReportSettingsProblem(Format("the settings store %s is damaged; it was moved to %s%s and a "
                                 "fresh one started",
                                 path.c_str(), aside.c_str(), journal.c_str()));
    return true;
  }

  // What SQLite and the system said about the last failure of the connection.
  std::string Reason(int rc) const {
    std::string why = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    int err = db ? sqlite3_system_errno(db) : 0;
    if (err != 0) why += Format(": %s", std::strerror(err));
    return why;
  }

  int ExecSql(const char* sql) { return sqlite3_exec(db, sql, nullptr, nullptr, nullptr); }

  void Finalize() {
    for (auto& s : stmts) {
      sqlite3_finalize(s);
      s = nullptr;
    }
  }

  int Prepare() {
    Finalize();
    for (int i = 0; i < kSqlCount; ++i) {
      int rc =
          sqlite3_prepare_v3(db, kSql[i], -1, SQLITE_PREPARE_PERSISTENT, &stmts[i], nullptr);
      if (rc != SQLITE_OK) return (rc & 0xFF) == SQLITE_ERROR ? kWrongShape : rc;
    }
    return SQLITE_OK;
  }

  // Makes the tables of a database that has none, or finds that a database with tables is
  // another program's. Both happen under one write transaction, so a process that is
  // creating the same store meanwhile is either done or not started: its half-made schema
  // is never taken for another program's.
  int CreateSchema() {
    int rc = ExecSql("BEGIN IMMEDIATE");
    if (rc != SQLITE_OK) return rc;
    sqlite3_stmt* count = nullptr;
    rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_master", -1, &count, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(count) == SQLITE_ROW ? SQLITE_OK : sqlite3_errcode(db);
    bool empty = rc == SQLITE_OK && sqlite3_column_int(count, 0) == 0;
    sqlite3_finalize(count);
    if (rc == SQLITE_OK && empty) rc = ExecSql(kSchema);
    if (rc == SQLITE_OK) rc = Prepare();
    if (rc == SQLITE_OK) rc = ExecSql("COMMIT");
    if (rc != SQLITE_OK) {
      Finalize();
      ExecSql("ROLLBACK");
    }
    return rc;
  }

  // One attempt at opening name with flags: WAL mode and the statements, with the tables
  // made in a new database that may be written.
  int OpenOnce(const std::string& name, int flags) {
    int rc = sqlite3_open_v2(name.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) return rc;
    sqlite3_extended_result_codes(db, 0);
    sqlite3_busy_handler(db, &Impl::OnBusy, this);
    read_only = sqlite3_db_readonly(db, "main") == 1;
    if (!read_only) {
      // Switching a new file to WAL needs it to itself and may say busy at once, without
      // the busy handler: the caller tries again.
      rc = ExecSql("PRAGMA journal_mode=WAL");
      if (rc == SQLITE_OK) rc = ExecSql("PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON;");
      if (rc != SQLITE_OK) return rc;
    }
    // An existing store is opened without a write lock; only a missing schema takes one.
    rc = Prepare();
    if (rc == kWrongShape && !read_only) rc = CreateSchema();
    return rc;
  }

  // Opens name with flags and prepares the statements, creating the tables in a new
  // database that may be written. Several processes may open or create the store at
  // once: a step that finds the database busy is tried again until the busy timeout.
  // On failure *why says what went wrong.
  int OpenWith(const std::string& name, int flags, std::string* why) {
    auto start = std::chrono::steady_clock::now();
    int rc = OpenOnce(name, flags);
    for (int attempt = 1; IsBusy(rc); ++attempt) {
      auto waited = std::chrono::steady_clock::now() - start;
      if (waited >= std::chrono::milliseconds(busy_timeout_ms)) break;
      Close();
      // A short, growing pause with some spread, so racing openers fall out of step.
      std::this_thread::sleep_for(
          std::chrono::microseconds(500 * std::min(attempt, 20) + (::getpid() + attempt * 7919) % 997));
      rc = OpenOnce(name, flags);
    }
    if (rc == SQLITE_OK) return rc;
    *why = rc == kWrongShape ? "it holds a database of another program" : Reason(rc);
    open_errno = db ? sqlite3_system_errno(db) : 0;
    if ((rc & 0xFF) == SQLITE_READONLY || (rc & 0xFF) == SQLITE_PERM) open_errno = EACCES;
    Close();
    return rc;
  }

  // A file that cannot be changed is read: through the usual locks when its companion
  // files can be had, otherwise as a file nobody changes meanwhile.
  bool OpenReadOnly(std::string* why) {
    if (OpenWith(path, SQLITE_OPEN_READONLY, why) == SQLITE_OK) return true;
    return OpenWith(FileUri(path, "immutable=1"), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, why) ==
           SQLITE_OK;
  }

  // Opens the connection when needed; without create, only an existing file is opened. A
  // file SQLite finds damaged is moved aside; any other failure leaves it alone and gives
  // defaults for the life of the store.
  bool Connect(bool create) {
    if (db) return true;
    if (failed) return false;
    bool exists = PathExists(path);
    if (!exists && !create) return false;
    if (!exists && !MakeParentDirs(path)) {
      return Fail(Format("cannot create the folder of %s: %s", path.c_str(),
                         std::strerror(errno)));
    }
    std::string why;
    int flags = SQLITE_OPEN_READWRITE | (exists ? 0 : SQLITE_OPEN_CREATE);
    int rc = OpenWith(path, flags, &why);
    if (rc != SQLITE_OK && exists && IsBroken(rc)) {
      if (!MoveAside()) return false;
      rc = OpenWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &why);
    } else if (rc != SQLITE_OK && exists && (!Writable(path) || Denied(open_errno)) &&
               OpenReadOnly(&why)) {
      rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK) {
      return Fail(Format("cannot open the settings store %s (%s); settings keep their "
                         "defaults", path.c_str(), why.c_str()));
    }
    may_move_aside = !read_only;
    return true;
  }

  static bool Denied(int err) { return err == EACCES || err == EPERM || err == EROFS; }

  bool Fail(const std::string& message) {
    failed = true;
    problem = message;
    ReportSettingsProblem(message);
    return false;
  }

  // Refuses a change to a store that may only be read.
  bool RefuseReadOnly() {
    problem = Format("the settings store %s cannot be written (the file, its folder or the "
                     "files SQLite keeps beside it are read-only); changes are not saved",
                     path.c_str());
    ReportSettingsProblem(problem);
    return false;
  }

  // Runs a change, running it again when another process kept the database locked for
  // longer than the busy timeout; a change that still cannot get through is reported.
  template <class F>
  auto Retrying(F&& change) -> decltype(change()) {
    for (int attempt = 0;; ++attempt) {
      busy = false;
      auto result = change();
      if (!busy || depth > 0) return result;
      if (attempt == kWriteRetries) {
        problem = Format("the settings store %s stayed locked by another program; a change "
                         "was not saved", path.c_str());
        ReportSettingsProblem(problem);
        return result;
      }
    }
  }

  // Notes the result of a step; a broken database is dealt with by OpGuard.
  bool Ok(int rc) {
    if (rc == SQLITE_OK || rc == SQLITE_DONE || rc == SQLITE_ROW) return true;
    if (IsBroken(rc)) broken = true;
    if (IsBusy(rc)) busy = true;
    if ((rc & 0xFF) == SQLITE_READONLY) RefuseReadOnly();
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

void SqliteSettingsStore::SetBusyTimeout(int milliseconds) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  impl_->busy_timeout_ms = milliseconds;
}

std::string SqliteSettingsStore::problem() const {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  return impl_->problem;
}

SettingsKeyId SqliteSettingsStore::OpenKey(std::string_view path, bool create) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (create && !CheckKeyPath(path)) return kNoKey;
  if (!impl_->Connect(create)) return kNoKey;
  std::string normalized = NormalizeKeyPath(path);
  SettingsKeyId id = impl_->FindKey(normalized);
  if (id != kNoKey || !create || impl_->broken) return id;
  if (impl_->read_only) {
    impl_->RefuseReadOnly();
    return kNoKey;
  }
  if (impl_->depth > 0) return impl_->CreatePath(normalized);
  return impl_->Retrying([&]() -> SettingsKeyId {
    if (!impl_->Exec(kBegin)) return kNoKey;
    SettingsKeyId made = impl_->CreatePath(normalized);
    if (made == kNoKey || !impl_->Exec(kCommit)) {
      impl_->Exec(kRollback);
      return kNoKey;
    }
    return made;
  });
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
  if (!impl_->db || key == kNoKey || !CheckValueName(name)) return false;
  if (impl_->read_only) return impl_->RefuseReadOnly();
  return impl_->Retrying([&] {
    Impl::Stmt s(impl_->stmts[kSetValue]);
    s.Bind(1, key);
    s.BindText(2, name);
    s.Bind(3, type);
    s.BindBlob(4, data);
    return impl_->Ok(sqlite3_step(s.get())) && sqlite3_changes(impl_->db) > 0;
  });
}

bool SqliteSettingsStore::DeleteValue(SettingsKeyId key, std::string_view name) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (!impl_->db || key == kNoKey) return false;
  if (impl_->read_only) return impl_->RefuseReadOnly();
  return impl_->Retrying([&] {
    Impl::Stmt s(impl_->stmts[kDeleteValue]);
    s.Bind(1, key);
    s.BindText(2, name);
    return impl_->Ok(sqlite3_step(s.get())) && sqlite3_changes(impl_->db) > 0;
  });
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
  if (impl_->read_only) return impl_->RefuseReadOnly();
  // One statement: the cascade removes the subkeys and values in the same transaction.
  return impl_->Retrying([&] {
    Impl::Stmt s(impl_->stmts[kDeleteKey]);
    s.Bind(1, id);
    return impl_->Ok(sqlite3_step(s.get())) && sqlite3_changes(impl_->db) > 0;
  });
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
  if (!impl_->Connect(true)) return false;
  if (impl_->read_only) return impl_->RefuseReadOnly();
  if (!impl_->Retrying([&] { return impl_->Exec(kBegin); })) return false;
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

// The changes are first written into temporary tables of this connection, which other
// processes never wait for; one transaction then applies them with a few statements.
bool SqliteSettingsStore::ApplyChanges(const SettingsChanges& changes) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::OpGuard guard{impl_.get()};
  if (impl_->depth > 0) return SettingsStore::ApplyChanges(changes);
  if (!impl_->Connect(true)) return false;
  if (impl_->read_only) return impl_->RefuseReadOnly();
  Impl& d = *impl_;
  bool ok = d.Ok(d.ExecSql(
      "CREATE TEMP TABLE IF NOT EXISTS stage_del(path TEXT NOT NULL COLLATE NOCASE);"
      "CREATE TEMP TABLE IF NOT EXISTS stage_keys(path TEXT PRIMARY KEY COLLATE NOCASE,"
      "  parent TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL, depth INTEGER NOT NULL);"
      "CREATE INDEX IF NOT EXISTS temp.stage_keys_depth ON stage_keys(depth);"
      "CREATE TEMP TABLE IF NOT EXISTS stage_vals(path TEXT NOT NULL COLLATE NOCASE,"
      "  name TEXT NOT NULL COLLATE NOCASE, remove INTEGER NOT NULL, type INTEGER NOT NULL,"
      "  data BLOB NOT NULL);"
      "DELETE FROM stage_del; DELETE FROM stage_keys; DELETE FROM stage_vals;"));
  // Whatever happens, the staged rows go when this is done.
  struct Unstage {
    Impl& d;
    ~Unstage() {
      d.ExecSql("DELETE FROM stage_del; DELETE FROM stage_keys; DELETE FROM stage_vals;");
    }
  } unstage{d};
  auto prepare = [&](const char* sql) {
    sqlite3_stmt* s = nullptr;
    if (ok) ok = d.Ok(sqlite3_prepare_v2(d.db, sql, -1, &s, nullptr));
    return std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)>(s, &sqlite3_finalize);
  };
  // Staging touches only this connection's temporary tables.
  std::size_t depth = 0;
  bool removals = false;
  if (ok) ok = d.Ok(d.ExecSql("BEGIN"));
  {
    auto del = prepare("INSERT INTO stage_del(path) VALUES(?1)");
    auto key = prepare(
        "INSERT OR IGNORE INTO stage_keys(path, parent, name, depth) VALUES(?1, ?2, ?3, ?4)");
    auto val = prepare(
        "INSERT INTO stage_vals(path, name, remove, type, data) VALUES(?1, ?2, ?3, ?4, ?5)");
    for (std::size_t i = 0; ok && i < changes.deleted_keys.size(); ++i) {
      Impl::Stmt s(del.get());
      s.BindText(1, NormalizeKeyPath(changes.deleted_keys[i]));
      ok = d.Ok(sqlite3_step(s.get()));
    }
    for (std::size_t i = 0; ok && i < changes.created_keys.size(); ++i) {
      if (!(ok = CheckKeyPath(changes.created_keys[i]))) break;
      // Each key with the keys above it, so that every level can be made from the one above.
      std::string path;
      std::size_t level = 0;
      for (std::string_view part : SplitKeyPath(changes.created_keys[i])) {
        Impl::Stmt s(key.get());
        std::string parent = path;
        path += (path.empty() ? "" : "\\") + std::string(part);
        s.BindText(1, path);
        s.BindText(2, parent);
        s.BindText(3, part);
        s.Bind(4, static_cast<std::int64_t>(++level));
        if (!(ok = d.Ok(sqlite3_step(s.get())))) break;
      }
      depth = std::max(depth, level);
    }
    for (std::size_t i = 0; ok && i < changes.values.size(); ++i) {
      const SettingsChanges::Value& v = changes.values[i];
      ok = CheckValueName(v.name);
      Impl::Stmt s(val.get());
      s.BindText(1, NormalizeKeyPath(v.key));
      s.BindText(2, v.name);
      s.Bind(3, v.remove ? 1 : 0);
      s.Bind(4, v.type);
      s.BindBlob(5, v.data);
      if (ok) ok = d.Ok(sqlite3_step(s.get()));
      removals = removals || v.remove;
    }
  }
  if (!ok) {
    d.ExecSql("ROLLBACK");
    return false;
  }
  if (!d.Ok(d.ExecSql("COMMIT"))) return false;
  // The one transaction: deletions, then each level of new keys made below the level
  // above (a key that exists keeps its spelling), then the values.
  return Transact([&] {
    if (!changes.deleted_keys.empty() &&
        !d.Ok(d.ExecSql("DELETE FROM main.keys WHERE path IN (SELECT path FROM stage_del)"))) {
      return false;
    }
    auto make = prepare(
        "INSERT INTO main.keys(parent, name, path)"
        " SELECT p.id, s.name, CASE WHEN p.id = 1 THEN s.name ELSE p.path || '\\' || s.name END"
        " FROM stage_keys s JOIN main.keys p ON p.path = s.parent"
        " WHERE s.depth = ?1 AND NOT EXISTS (SELECT 1 FROM main.keys k WHERE k.path = s.path)");
    for (std::size_t level = 1; ok && level <= depth; ++level) {
      Impl::Stmt s(make.get());
      s.Bind(1, static_cast<std::int64_t>(level));
      ok = d.Ok(sqlite3_step(s.get()));
    }
    if (ok && removals) {
      ok = d.Ok(d.ExecSql(
          "DELETE FROM main.vals WHERE (key, name) IN (SELECT k.id, s.name FROM stage_vals s"
          " JOIN main.keys k ON k.path = s.path WHERE s.remove = 1)"));
    }
    return ok && d.Ok(d.ExecSql(
                     "INSERT INTO main.vals(key, name, type, data)"
                     " SELECT k.id, s.name, s.type, s.data FROM stage_vals s"
                     " JOIN main.keys k ON k.path = s.path WHERE s.remove = 0"
                     " ON CONFLICT(key, name) DO UPDATE SET type = excluded.type,"
                     " data = excluded.data"));
  });
}

}  // namespace quill
