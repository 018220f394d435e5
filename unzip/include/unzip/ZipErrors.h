// The zip engine's exceptions and its message table.
#pragma once
#include <string>

#include "platform/Exception.h"

namespace unzip {

#define TW_ZIP_ERROR(Name)                 \
  class Name : public platform::Exception { \
   public:                                  \
    using platform::Exception::Exception;   \
  };
TW_ZIP_ERROR(EBadZipFile)
TW_ZIP_ERROR(EIncompleteZip)
TW_ZIP_ERROR(ENotAZipFile)
TW_ZIP_ERROR(EUserCanceled)
TW_ZIP_ERROR(EFatalUnzipError)
TW_ZIP_ERROR(EBiggerThanUncompressed)
TW_ZIP_ERROR(ECantWriteUCF)
TW_ZIP_ERROR(EListError)
#undef TW_ZIP_ERROR

// Numbered entries of the message table.
enum class ZipMsg {
  OpenZipTitle = 176,
  OpenZipFilter = 177,
  CanceledDestDir = 178,
  IndexOutOfRange = 179,
  IncompleteZip = 182,
  NotAZip = 183,
  InsertDisk = 184,
  OfMultiDiskSet = 185,
  CanceledZipName = 186,
  ReplaceExisting = 195,
  FileExistsAlert = 196,
  UnknownMethod = 197,
  ZipErrorCaption = 198,
  BiggerThanUncompressed = 199,
  CantWriteUCF = 207,
};

const char* ZipMessage(ZipMsg id);

// Texts used without a number of their own.
inline constexpr char kMsgPrematureEnd[] = "Premature end of file reached";
inline constexpr char kMsgCanceledNewDisk[] = "User canceled loading new disk.";
inline constexpr char kMsgMissingDisk[] = "Cannot find disk %d of the multi-disk set: ";
inline constexpr char kMsgNoDiskHandler[] = "Disk %d of the multi-disk set is needed, but no OnGetNextDisk handler is set";
inline constexpr char kMsgOutOfMemory[] = "*** inflate out of memory ***";
inline constexpr char kMsgErrorCaption[] = "Error";
// Seek errors carry a leading control character (codes 24 and 10).
inline constexpr char kMsgInvalidSeekOrigin[] = "\x18Invalid seek origin (%d)";
inline constexpr char kMsgSeekError[] = "\nSeek error";
inline constexpr char kMsgListIndex[] = "List index out of bounds (%d)";
inline constexpr char kMsgDuplicate[] = "Duplicate Object index";
inline constexpr char kMsgSortedPut[] = "Cannot <Put> an Object in a sorted list!";
inline constexpr char kMsgNotInList[] = "tObject %s not in item list";

// printf-style formatting of one message argument.
std::string FormatMessage(const char* format, long long value);
std::string FormatMessage(const char* format, const std::string& value);

}  // namespace unzip
