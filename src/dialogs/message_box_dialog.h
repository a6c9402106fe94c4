#pragma once
// CMessageBoxDialog: the control library's modal question box. It is shown through the
// installed message-box presenter (platform/control_services.h) with the caller's owner,
// text, caption and both flag words; the result is the button code pressed.

#include <string>

namespace quill {

class Window;

// The library's extension bits of the style word; callers pass them with MB_* flags.
constexpr unsigned MBX_EXTENSION_1 = 0x04000000;
constexpr unsigned MBX_EXTENSION_2 = 0x08000000;

class CMessageBoxDialog {
 public:
  CMessageBoxDialog(Window* pParent, std::string strMessage, std::string strCaption,
                    unsigned nStyle, unsigned nStyle2);
  virtual ~CMessageBoxDialog() = default;

  // Shows the box modally; IDYES (6), IDNO (7), IDOK (1), ... for the button pressed.
  virtual int DoModal();

  Window* GetParent() const { return m_pParent; }
  const std::string& GetMessage() const { return m_strMessage; }
  const std::string& GetCaption() const { return m_strCaption; }
  unsigned GetStyle() const { return m_nStyle; }
  unsigned GetStyle2() const { return m_nStyle2; }

 private:
  Window* m_pParent;
  std::string m_strMessage;
  std::string m_strCaption;
  unsigned m_nStyle;
  unsigned m_nStyle2;
};

}  // namespace quill
