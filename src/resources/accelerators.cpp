#include "resources/accelerators.h"

#include <array>

#include "platform/window.h"

namespace quill {
namespace {

constexpr std::uint8_t V = FVIRTKEY | FNOINVERT;
constexpr std::uint8_t C = V | FCONTROL;
constexpr std::uint8_t S = V | FSHIFT;
constexpr std::uint8_t A = V | FALT;
constexpr std::uint8_t CS = V | FCONTROL | FSHIFT;

constexpr std::array<ACCEL, 81> kEditAccelerators = {{
    {C, '0', 37200}, {A, '0', 37210}, {0, 27, 40015}, {0, 29, 40014},
    {C, '1', 37201}, {A, '1', 37211}, {C, '2', 37202}, {C, '2', 40016},
    {A, '2', 37212}, {C, '3', 37203}, {A, '3', 37213}, {C, '4', 37204},
    {A, '4', 37214}, {C, '5', 37205}, {A, '5', 37215}, {C, '6', 37206},
    {A, '6', 37216}, {C, '7', 37207}, {A, '7', 37217}, {C, '8', 37208},
    {A, '8', 37218}, {C, '9', 37209}, {A, '9', 37219},
    {C, 'A', 57642}, {A, 'A', 37905}, {C, 'C', 57634}, {C, 'F', 57636},
    {C, 'G', 37006}, {C, 'H', 57641}, {C, 'S', 57603}, {C, 'V', 57637},
    {V, VK_BACK, 37001}, {C, VK_BACK, 37002}, {A, VK_BACK, 57643}, {S, VK_BACK, 38000},
    {V, VK_DELETE, 37000}, {S, VK_DELETE, 57635},
    {V, VK_DOWN, 37110}, {C, VK_DOWN, 37113}, {S, VK_DOWN, 37111},
    {V, VK_END, 37118}, {C, VK_END, 37124}, {S, VK_END, 37119}, {CS, VK_END, 37125},
    {V, VK_F2, 37224}, {C, VK_F2, 37223}, {S, VK_F2, 37225}, {CS, VK_F2, 37226},
    {V, VK_F3, 57640}, {C, VK_F3, 38001}, {S, VK_F3, 37126}, {CS, VK_F3, 38002},
    {V, VK_F5, 38003}, {V, VK_F6, 38004},
    {V, VK_HOME, 37120}, {C, VK_HOME, 37122}, {S, VK_HOME, 37121}, {CS, VK_HOME, 37123},
    {V, VK_INSERT, 37005}, {C, VK_INSERT, 57634}, {S, VK_INSERT, 57637},
    {V, VK_LEFT, 37100}, {C, VK_LEFT, 37104}, {S, VK_LEFT, 37101}, {CS, VK_LEFT, 37105},
    {V, VK_NEXT, 37116}, {S, VK_NEXT, 37117}, {V, VK_PRIOR, 37114}, {S, VK_PRIOR, 37115},
    {V, VK_RIGHT, 37102}, {C, VK_RIGHT, 37106}, {S, VK_RIGHT, 37103}, {CS, VK_RIGHT, 37107},
    {V, VK_TAB, 37003}, {S, VK_TAB, 37004},
    {V, VK_UP, 37108}, {C, VK_UP, 37112}, {S, VK_UP, 37109},
    {C, 'X', 57635}, {C, 'Y', 57644}, {C, 'Z', 57643},
}};

const std::span<const ACCEL> kEditTable(kEditAccelerators);

bool KeyDown(const Window* pWnd, int vk) { return pWnd != nullptr && pWnd->GetKeyState(vk) < 0; }

}  // namespace

HACCEL LoadAccelerators(unsigned nID) {
  return nID == IDR_QUILL_ACCELERATORS ? &kEditTable : nullptr;
}

unsigned TranslateAccelerator(const Window* pWnd, HACCEL hAccel, const MSG* pMsg) {
  if (hAccel == nullptr || pMsg == nullptr) return 0;
  const unsigned message = pMsg->message;
  const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  const bool character = message == WM_CHAR || message == WM_SYSCHAR;
  if (!keyDown && !character) return 0;
  const std::uint8_t state = (KeyDown(pWnd, VK_SHIFT) ? FSHIFT : 0) |
                             (KeyDown(pWnd, VK_CONTROL) ? FCONTROL : 0) |
                             (KeyDown(pWnd, VK_MENU) ? FALT : 0);
  for (const ACCEL& entry : *hAccel) {
    if (entry.key != pMsg->wParam) continue;
    if (entry.fVirt & FVIRTKEY) {
      if (keyDown && (entry.fVirt & (FSHIFT | FCONTROL | FALT)) == state) return entry.cmd;
    } else if (character && ((entry.fVirt & FALT) != 0) == (message == WM_SYSCHAR)) {
      return entry.cmd;
    }
  }
  return 0;
}

}  // namespace quill
