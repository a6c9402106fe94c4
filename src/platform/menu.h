#pragma once
// A popup menu as the view builds it: items with command ids and texts, separators and
// submenus, each with its enabled and checked state. A window shows it (TrackPopupMenu).

#include <string>
#include <vector>

namespace quill {

// AppendMenu flags.
constexpr unsigned MF_STRING = 0x0000;
constexpr unsigned MF_GRAYED = 0x0001;
constexpr unsigned MF_CHECKED = 0x0008;
constexpr unsigned MF_POPUP = 0x0010;
constexpr unsigned MF_SEPARATOR = 0x0800;

// TrackPopupMenu flags.
constexpr unsigned TPM_LEFTALIGN = 0x0000;
constexpr unsigned TPM_RIGHTBUTTON = 0x0002;

class CMenu {
 public:
  struct Item {
    unsigned id = 0;
    std::string text;
    bool separator = false;
    bool enabled = true;
    bool checked = false;
    std::vector<Item> submenu;  // the items of a popup item
  };

  // Empties the menu (a fresh popup).
  bool CreatePopupMenu() {
    m_items.clear();
    return true;
  }
  void DestroyMenu() { m_items.clear(); }
  void AppendMenu(unsigned flags, unsigned id = 0, const std::string& text = std::string()) {
    Item item;
    item.separator = (flags & MF_SEPARATOR) != 0;
    item.id = item.separator ? 0 : id;
    item.text = text;
    item.enabled = (flags & MF_GRAYED) == 0;
    item.checked = (flags & MF_CHECKED) != 0;
    m_items.push_back(std::move(item));
  }
  void AppendPopup(const std::string& text, const CMenu& popup) {
    Item item;
    item.text = text;
    item.submenu = popup.m_items;
    m_items.push_back(std::move(item));
  }
  int GetMenuItemCount() const { return static_cast<int>(m_items.size()); }

  std::vector<Item>& Items() { return m_items; }
  const std::vector<Item>& Items() const { return m_items; }

 private:
  std::vector<Item> m_items;
};

}  // namespace quill
