// Loading a part of the program only when it is used. The command line starts
// in about a millisecond; the vector writers (cairo) and the read-back
// decoders would each add the loading of some twenty shared libraries to every
// call, so they live in shared modules that are opened on first use.
#pragma once

#include <string>

namespace quillet {

// The entry point `symbol` of module `name` (for example "libquillet_print.so"),
// looked up beside the executable (../lib/<multiarch>/quillet) and then in the build tree.
// The module stays loaded for the life of the process. Null, with the loader's
// own words for each place tried in `error`, when the module or its entry
// point cannot be found.
void* LoadModuleEntry(const char* name, const char* symbol, std::string* error);

// The entry point cast to the function `Entry` and called once; its result is
// remembered per module. `Api` is the table of functions the module exports.
template <typename Api>
const Api* ModuleApi(const char* name, const char* symbol, std::string* error) {
  using Entry = const Api* (*)();
  struct Loaded {
    const Api* api = nullptr;
    std::string error;
  };
  static const Loaded loaded = [&] {
    Loaded result;
    if (void* entry = LoadModuleEntry(name, symbol, &result.error)) result.api = reinterpret_cast<Entry>(entry)();
    return result;
  }();
  if (!loaded.api && error) *error = loaded.error;
  return loaded.api;
}

}  // namespace quillet
