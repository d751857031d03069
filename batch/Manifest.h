// The manifest of a batch: a CSV of row, file name, symbol and status, so that
// a print job can be checked against its spreadsheet. It is written beside its
// final name and renamed into place when closed, so it is never seen half done.
#pragma once

#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

#include "batch/BatchJob.h"
#include "image/ImageResult.h"

namespace quillet {

// The status column: the file's own words, read by whatever checks the job,
// whichever front end wrote it. A failed row's reason follows ManifestFailed.
constexpr std::string_view ManifestWritten = "written";
constexpr std::string_view ManifestFailed = "failed: ";

class ManifestWriter {
 public:
  ManifestWriter() = default;
  ~ManifestWriter();
  ManifestWriter(const ManifestWriter&) = delete;
  ManifestWriter& operator=(const ManifestWriter&) = delete;

  // CannotCreate (subject the folder) when no file can be made beside `path`.
  ImageResult Open(const std::string& path);
  // Written as the rows finish, to a stream that is not ours to replace; its
  // failure is CannotWrite with no subject and error 0.
  void Open(std::ostream& stream);
  // `reason`: why a failed row failed, as the front end words it.
  void Add(const BatchRowResult& result, const std::string& reason);
  // CannotWrite or CannotReplace, subject the manifest's path (error 0 when
  // the stream failed, which says no why); on failure the temporary file is removed.
  ImageResult Close();

 private:
  void Discard();

  std::string path_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
  std::ostream* stream_ = nullptr;
};

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& value);

}  // namespace quillet
