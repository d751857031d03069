#include "content/LazyModule.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include <array>

namespace quillet {

namespace {

std::string ExecutableFolder() {
  std::array<char, PATH_MAX> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  const std::string exe(path.data(), static_cast<size_t>(length));
  return exe.substr(0, exe.rfind('/'));
}

}  // namespace

void* LoadModuleEntry(const char* name, const char* symbol, std::string* error) {
  // Installed programs find their modules relative to themselves; programs in
  // the build tree (tools, tests) in the folder the build puts them in.
  const std::string candidates[] = {ExecutableFolder() + "/../" QUILLET_INSTALL_MODULE_DIR "/" + name,
                                    std::string(QUILLET_BUILD_MODULE_DIR "/") + name};
  // The loader's own words are the subject; each front end says what failed.
  std::string reasons;
  const auto note = [&reasons] {
    const char* reason = dlerror();
    if (reason) reasons += (reasons.empty() ? "" : "; ") + std::string(reason);
  };
  for (const std::string& path : candidates) {
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
      note();
      continue;
    }
    if (void* entry = dlsym(module, symbol)) return entry;
    note();
  }
  if (error) *error = reasons;
  return nullptr;
}

}  // namespace quillet
