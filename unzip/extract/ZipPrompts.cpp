// The prompts the component shows itself, as message boxes. It installs them
// as the handlers of its events when it is created; an application that has
// no desktop to show them on installs its own in their place.
#include "extract/UnZipperParts.h"
#include "platform/Dialogs.h"
#include "unzip/UnZipper.h"

namespace unzip {

void TUnZipper::DefaultPromptForOverwrite(bool& overwrite, int index) {
  const std::string text = ZipMessage(ZipMsg::ReplaceExisting) + Entry(index).FileName + "?";
  overwrite = platform::MessageBox(text, ZipMessage(ZipMsg::FileExistsAlert), platform::MessageButtons::YesNo) ==
              platform::MessageResult::Yes;
}

void TUnZipper::DefaultGetNextDisk(int nextDisk, std::string& name) {
  if (NameBlockedVolume(nextDisk, name)) return;
  parts_->volumes.NoteUserAsked();
  const std::string text =
      ZipMessage(ZipMsg::InsertDisk) + std::to_string(nextDisk) + ZipMessage(ZipMsg::OfMultiDiskSet);
  if (platform::MessageBox(text, "", platform::MessageButtons::OkCancel) == platform::MessageResult::Cancel)
    name.clear();
}

void TUnZipper::DefaultUnknownMethod() {
  platform::MessageBox(ZipMessage(ZipMsg::UnknownMethod), ZipMessage(ZipMsg::ZipErrorCaption));
}

}  // namespace unzip
