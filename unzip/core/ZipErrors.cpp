#include "unzip/ZipErrors.h"

#include <cstdio>

namespace unzip {

const char* ZipMessage(ZipMsg id) {
  switch (id) {
    case ZipMsg::OpenZipTitle: return "Open a Zip File";
    case ZipMsg::OpenZipFilter:
      return "Zip Files (*.ZIP)|*.zip|SFX Files (*.EXE)|*.exe|Jar Files (*.JAR)|*.jar|All Files (*.*)|*.*";
    case ZipMsg::CanceledDestDir: return "User canceled Set Desination Directory";
    case ZipMsg::IndexOutOfRange: return "Index %d is out of range";
    case ZipMsg::IncompleteZip: return "Incomplete Zip File";
    case ZipMsg::NotAZip: return "Not a valid zip file!";
    case ZipMsg::InsertDisk: return "Please insert disk ";
    case ZipMsg::OfMultiDiskSet: return " of the multi-disk set.";
    case ZipMsg::CanceledZipName: return "User canceled setting zip file name.";
    case ZipMsg::ReplaceExisting: return "Replace existing file ";
    case ZipMsg::FileExistsAlert: return "File Exists Alert";
    case ZipMsg::UnknownMethod: return "Unknown Compression Method";
    case ZipMsg::ZipErrorCaption: return "Zip Error";
    case ZipMsg::BiggerThanUncompressed: return "File is larger than uncompressed size!";
    case ZipMsg::CantWriteUCF: return "Cant write uncompressed file";
  }
  return "";
}

std::string FormatMessage(const char* format, long long value) {
  const std::string f(format);
  const std::size_t at = f.find("%d");
  return at == std::string::npos ? f : f.substr(0, at) + std::to_string(value) + f.substr(at + 2);
}

std::string FormatMessage(const char* format, const std::string& value) {
  const std::string f(format);
  const std::size_t at = f.find("%s");
  return at == std::string::npos ? f : f.substr(0, at) + value + f.substr(at + 2);
}

}  // namespace unzip
