// Replacing a file in one step: the bytes go to a temporary file in the same
// folder, which is renamed over the target only once it is written whole.
#pragma once

#include <string>
#include <string_view>

#include "image/ImageResult.h"

namespace quillet {

// The temporary file is named ".quillet-XXXXXX.tmp" (six random characters)
// beside the target and is removed on every failure. An existing target keeps
// its permissions; a new one gets 0666 less the umask. A file-size limit is
// reported as CannotWrite with EFBIG (SIGXFSZ is ignored from the first call
// on, unless the program handles it itself).
ImageResult WriteFileAtomically(const std::string& path, std::string_view bytes);

// True for names WriteFileAtomically uses for its temporary files.
bool IsAtomicTemporaryName(std::string_view fileName);

}  // namespace quillet
