#include "verify/LogoFile.h"

#include "content/LazyModule.h"
#include "verify/InputFile.h"
#include "verify/module/VerifyModule.h"

namespace quillet {

namespace {

LogoFileResult Failed(LogoFileFailure failure, const std::string& path, std::string detail = {}, int error = 0) {
  return {failure, path, ImageReadDetail::None, std::move(detail), error, nullptr};
}

}  // namespace

LogoFileResult LoadLogoFile(const std::string& path) {
  const InputFile file = ReadInputFile(path, MaxLogoFileBytes);
  switch (file.failure) {
    case InputFileFailure::CannotOpen: return Failed(LogoFileFailure::CannotOpen, path, {}, file.error);
    case InputFileFailure::NotAFile: return Failed(LogoFileFailure::NotALogo, path);
    case InputFileFailure::TooLarge: return Failed(LogoFileFailure::TooLarge, path);
    case InputFileFailure::None: break;
  }
  std::string error;
  const VerifyModuleApi* api = ModuleApi<VerifyModuleApi>(QUILLET_VERIFY_MODULE, QUILLET_VERIFY_ENTRY, &error);
  if (!api) return Failed(LogoFileFailure::NoReader, path, error);
  LogoReadProblem problem;
  std::optional<RgbaImage> logo = api->readLogo(file.bytes, &problem);
  if (!logo) {
    LogoFileResult refused = Failed(problem.failure, path, problem.detail);
    refused.reason = problem.reason;
    return refused;
  }
  LogoFileResult result;
  result.logo = std::make_shared<const RgbaImage>(std::move(*logo));
  return result;
}

}  // namespace quillet
