#include "verify/LogoFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <fstream>

#include "image/LazyModule.h"
#include "verify/module/VerifyModule.h"

namespace {

LogoFileResult Failed(LogoFileFailure failure, const std::string& path, std::string detail = {}, int error = 0) {
  return {failure, path, std::move(detail), error, nullptr};
}

}  // namespace

LogoFileResult LoadLogoFile(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return Failed(LogoFileFailure::CannotOpen, path, {}, errno);
  if (S_ISDIR(status.st_mode)) return Failed(LogoFileFailure::CannotOpen, path, {}, EISDIR);
  // A pipe or a device would block the read or never end.
  if (!S_ISREG(status.st_mode)) return Failed(LogoFileFailure::NotALogo, path);
  if (status.st_size > MaxLogoFileBytes) return Failed(LogoFileFailure::TooLarge, path);
  std::ifstream file(path, std::ios::binary);
  if (!file) return Failed(LogoFileFailure::CannotOpen, path, {}, errno ? errno : EACCES);
  std::string bytes(static_cast<size_t>(status.st_size), '\0');
  if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
    return Failed(LogoFileFailure::CannotOpen, path, {}, EIO);
  std::string error;
  const VerifyModuleApi* api = ModuleApi<VerifyModuleApi>(QUILLET_VERIFY_MODULE, QUILLET_VERIFY_ENTRY, &error);
  if (!api) return Failed(LogoFileFailure::NoReader, path, error);
  std::optional<RgbaImage> logo = api->readLogo(bytes, &error);
  if (!logo) {
    if (error == "too large") return Failed(LogoFileFailure::TooLarge, path);
    if (error == "not a logo") return Failed(LogoFileFailure::NotALogo, path);
    return Failed(LogoFileFailure::Unreadable, path, error);
  }
  LogoFileResult result;
  result.logo = std::make_shared<const RgbaImage>(std::move(*logo));
  return result;
}
