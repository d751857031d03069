// The outcome of encoding or saving an image: what failed, about what, and
// the system's error number. Each user interface words it in its own language.
#pragma once

#include <string>

namespace quillet {

enum class ImageFailure {
  None,
  NoSymbol,          // the matrix is empty
  BadScale,          // less than MinScale; subject: the scale
  TooLarge,          // more than MaxImageSide pixels a side; subject: the side in pixels
  BadQuietZone,      // subject: the quiet zone
  BadDpi,            // subject: the dpi
  UnknownExtension,  // subject: the extension, with its dot; empty when the name has none
  FolderMissing,     // subject: the folder
  IsFolder,          // subject: the path
  CannotCreate,      // no temporary file in the folder; subject: the folder
  CannotWrite,       // writing or closing failed (full disk, file-size limit); subject: the path
  CannotReplace,     // renaming over the target failed; subject: the path
  OutOfMemory,
  EncoderFailed,     // subject: the library's own message, which only the command line quotes
  NoPrintModule,     // PDF and EPS: the print module did not load; subject: the loader's words
  BadCaption,        // a frame's caption is no line of at most MaxCaptionCharacters; subject: CheckCaptionText's
  NoCaptionFont,     // subject: the font family a frame's caption is drawn in
  CaptionCharacter,  // the caption's font lacks a character; subject: the character
  CaptionScript,     // the caption is in a script drawn only shaped; subject: its first such character
};

struct ImageResult {
  ImageFailure failure = ImageFailure::None;
  std::string subject;
  int error = 0;  // errno, 0 when none applies

  bool Ok() const { return failure == ImageFailure::None; }
};

}  // namespace quillet
