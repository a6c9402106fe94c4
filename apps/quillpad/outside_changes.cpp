#include "outside_changes.h"

#include "dialogs/check_list_dialog.h"
#include "language_views.h"
#include "pad_document.h"
#include "platform/app_services.h"
#include "platform/file_service.h"
#include "platform/format.h"
#include "settings/registry.h"

namespace quillpad {

const char kChangedFilesTitle[] = "Files Changed Outside quillpad";
const char kSaveFilesTitle[] = "Save Changes";

namespace {

constexpr char kChangedMessage[] =
    "These files have been changed by another program. Reload the checked ones? "
    "(Reloading replaces the text open here.)";
constexpr char kSaveMessage[] = "Save the checked documents before quillpad closes?";
constexpr char kDeletedFormat[] =
    "%s\n\nThis file has been deleted or moved by another program.\n"
    "Its text stays open here; saving it writes the file again.";
constexpr char kOverwriteFormat[] =
    "%s\n\nThis file has been changed by another program since it was opened or last "
    "saved.\nDo you want to overwrite it with the text open here?";

bool FileExists(const std::string& path) {
  return quill::GetFileService().GetAttributes(path) != quill::INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int CheckDocuments(const std::vector<OpenDocument>& docs, quill::Window* pParent) {
  const bool bAutoLoad = quill::GetRegistryAutoLoad() == quill::AUTOLOAD_ON;
  std::vector<OpenDocument> changed;
  int nReloaded = 0;
  for (const OpenDocument& open : docs) {
    PadDocument& doc = *open.doc;
    const std::string& path = doc.GetPathName();
    if (path.empty()) continue;
    if (!FileExists(path)) {
      if (!doc.deletedReported) {
        doc.deletedReported = true;
        doc.GetTextBuffer().SetModified(1);
        quill::AfxMessageBox(quill::Format(kDeletedFormat, path.c_str()),
                             quill::MB_OK | quill::MB_ICONWARNING);
      }
      continue;
    }
    doc.deletedReported = false;
    if (!open.view->CheckTimestamp()) continue;
    if (bAutoLoad && !doc.GetTextBuffer().IsModified()) {
      open.view->UpdateLastWrittenTime();
      open.view->ReloadFromFile();
      ++nReloaded;
    } else {
      changed.push_back(open);
    }
  }
  if (!changed.empty()) {
    quill::TCheckListDialog dialog(quill::TCheckListDialog::DLG_RELOAD, kChangedFilesTitle,
                                   kChangedMessage, pParent);
    // Edits would be lost by a reload: the user checks those documents himself.
    for (const OpenDocument& open : changed)
      dialog.AddString(open.doc, open.doc->GetTextBuffer().IsModified() ? 0 : 1);
    dialog.DoModal();
  }
  return nReloaded;
}

bool ConfirmOverwrite(PadDocument& doc) {
  if (!doc.ChangedOutside()) return true;
  if (quill::AfxMessageBox(quill::Format(kOverwriteFormat, doc.GetPathName().c_str()),
                           quill::MB_YESNOCANCEL | quill::MB_ICONWARNING) != quill::IDYES)
    return false;
  // The user replaces the file as it is now: the save asks again only about a change
  // made while it writes.
  doc.GetTextBuffer().RecordFileIdentity(doc.GetPathName());
  return true;
}

bool MaySaveTo(PadDocument& doc, const std::string& path) {
  const std::string& own = doc.GetPathName();
  quill::IFileService& files = quill::GetFileService();
  if (own.empty() || files.ResolveLinks(path) != files.ResolveLinks(own)) return true;
  return ConfirmOverwrite(doc);
}

bool AskWhichToSave(const std::vector<PadDocument*>& docs, std::vector<PadDocument*>& toSave,
                    quill::Window* pParent) {
  toSave.clear();
  quill::TCheckListDialog dialog(quill::TCheckListDialog::DLG_SAVE, kSaveFilesTitle, kSaveMessage,
                                 pParent);
  std::vector<PadDocument*> listed;
  for (PadDocument* doc : docs) {
    if (dialog.AddString(doc, 1) >= 0) listed.push_back(doc);
  }
  if (dialog.DoModal() != quill::IDOK) return false;
  for (std::size_t i = 0; i < listed.size(); ++i)
    if (dialog.GetString(static_cast<int>(i)) == 1) toSave.push_back(listed[i]);
  return true;
}

}  // namespace quillpad
