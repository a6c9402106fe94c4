#include <map>
#include <mutex>

#include "settings/store.h"

namespace quill {

namespace {

struct NameOrder {
  bool operator()(const std::string& a, const std::string& b) const { return NameLess(a, b); }
};

struct Node {
  SettingsKeyId parent = kNoKey;
  std::string name;
  std::map<std::string, SettingsKeyId, NameOrder> children;
  std::map<std::string, RegValue, NameOrder> values;
};

constexpr SettingsKeyId kRootId = 1;

}  // namespace

struct MemorySettingsStore::Impl {
  struct State {
    std::map<SettingsKeyId, Node> nodes;
    SettingsKeyId next_id = kRootId + 1;
  };
  State state;
  std::recursive_mutex mutex;

  Impl() { state.nodes[kRootId] = Node(); }

  Node* Find(SettingsKeyId id) {
    auto it = state.nodes.find(id);
    return it == state.nodes.end() ? nullptr : &it->second;
  }

  void Erase(SettingsKeyId id) {
    Node* node = Find(id);
    if (!node) return;
    for (auto& [name, child] : node->children) Erase(child);
    state.nodes.erase(id);
  }
};

MemorySettingsStore::MemorySettingsStore() : impl_(std::make_unique<Impl>()) {}
MemorySettingsStore::~MemorySettingsStore() = default;

SettingsKeyId MemorySettingsStore::OpenKey(std::string_view path, bool create) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  if (create && !CheckKeyPath(path)) return kNoKey;
  SettingsKeyId id = kRootId;
  for (std::string_view part : SplitKeyPath(path)) {
    Node* node = impl_->Find(id);
    std::string name(part);
    auto it = node->children.find(name);
    if (it != node->children.end()) {
      id = it->second;
      continue;
    }
    if (!create) return kNoKey;
    SettingsKeyId child = impl_->state.next_id++;
    node->children.emplace(name, child);
    Node& made = impl_->state.nodes[child];
    made.parent = id;
    made.name = name;
    id = child;
  }
  return id;
}

bool MemorySettingsStore::QueryValue(SettingsKeyId key, std::string_view name, RegValue* out) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Node* node = impl_->Find(key);
  if (!node) return false;
  auto it = node->values.find(std::string(name));
  if (it == node->values.end()) return false;
  if (out) *out = it->second;
  return true;
}

bool MemorySettingsStore::SetValue(SettingsKeyId key, std::string_view name, std::uint32_t type,
                                   std::string_view data) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Node* node = impl_->Find(key);
  if (!node || !CheckValueName(name)) return false;
  auto [it, added] = node->values.try_emplace(std::string(name));
  if (added) it->second.name = std::string(name);
  it->second.type = type;
  it->second.data = std::string(data);
  return true;
}

bool MemorySettingsStore::DeleteValue(SettingsKeyId key, std::string_view name) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Node* node = impl_->Find(key);
  return node && node->values.erase(std::string(name)) > 0;
}

bool MemorySettingsStore::DeleteKey(std::string_view path, bool recursive) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  SettingsKeyId id = OpenKey(path, false);
  if (id == kNoKey || id == kRootId) return false;
  Node* node = impl_->Find(id);
  if (!recursive && !node->children.empty()) return false;
  Node* parent = impl_->Find(node->parent);
  parent->children.erase(node->name);
  impl_->Erase(id);
  return true;
}

std::vector<std::string> MemorySettingsStore::EnumKeys(SettingsKeyId key) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  std::vector<std::string> names;
  if (Node* node = impl_->Find(key)) {
    for (auto& [name, child] : node->children) names.push_back(name);
  }
  return names;
}

std::vector<RegValue> MemorySettingsStore::EnumValues(SettingsKeyId key) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  std::vector<RegValue> values;
  if (Node* node = impl_->Find(key)) {
    for (auto& [name, value] : node->values) values.push_back(value);
  }
  return values;
}

bool MemorySettingsStore::Transact(const std::function<bool()>& body) {
  std::lock_guard<std::recursive_mutex> lock(impl_->mutex);
  Impl::State saved = impl_->state;
  bool keep = false;
  try {
    keep = body();
  } catch (...) {
    impl_->state = std::move(saved);
    throw;
  }
  if (!keep) impl_->state = std::move(saved);
  return keep;
}

}  // namespace quill
