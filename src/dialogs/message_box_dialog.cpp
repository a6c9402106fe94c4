#include "dialogs/message_box_dialog.h"

#include "platform/control_services.h"

namespace quill {

CMessageBoxDialog::CMessageBoxDialog(Window* pParent, std::string strMessage,
                                     std::string strCaption, unsigned nStyle, unsigned nStyle2)
    : m_pParent(pParent),
      m_strMessage(std::move(strMessage)),
      m_strCaption(std::move(strCaption)),
      m_nStyle(nStyle),
      m_nStyle2(nStyle2) {}

int CMessageBoxDialog::DoModal() {
  MessageBoxRequest request;
  request.pParent = m_pParent;
  request.text = m_strMessage;
  request.caption = m_strCaption;
  request.style = m_nStyle;
  request.style2 = m_nStyle2;
  return GetMessageBoxPresenter().Show(request);
}

}  // namespace quill
