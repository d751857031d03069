#include "batch/BatchInput.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>

#include "batch/TableReader.h"

namespace quillet {

namespace {

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }

void CannotRead(const std::string& path, int error, BatchProblem* problem) {
  *problem = MakeBatchProblem(BatchStop::InputUnreadable, path, error);
}

void NotKept(const std::string& name, std::string temporary, int error, BatchProblem* problem) {
  *problem = MakeBatchProblem(BatchStop::InputNotKept, name, error);
  problem->path = std::move(temporary);
}

std::unique_ptr<std::istream> OpenFile(const std::string& path, BatchProblem* problem) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    CannotRead(path, errno, problem);
    return nullptr;
  }
  if (S_ISDIR(info.st_mode)) {
    CannotRead(path, EISDIR, problem);
    return nullptr;
  }
  auto file = std::make_unique<std::ifstream>(path, std::ios::binary);
  if (!*file) {
    CannotRead(path, errno ? errno : EIO, problem);
    return nullptr;
  }
  return file;
}

// Copies `in` to a temporary file that has no name any more, ready to read.
std::unique_ptr<std::istream> Spool(std::istream& in, const std::string& name, const std::atomic<bool>* cancel,
                                    BatchProblem* problem) {
  const char* folder = std::getenv("TMPDIR");
  std::string path = std::string(folder && *folder ? folder : "/tmp") + "/quillet-batch-XXXXXX";
  const int fd = ::mkstemp(path.data());
  if (fd < 0) {
    const int error = errno;
    NotKept(name, path, error, problem);
    return nullptr;
  }
  auto copy = std::make_unique<std::fstream>(path, std::ios::in | std::ios::out | std::ios::binary | std::ios::trunc);
  ::unlink(path.c_str());
  ::close(fd);
  std::string chunk(64 * 1024, '\0');
  while (!Cancelled(cancel) && in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())).gcount() > 0) {
    copy->write(chunk.data(), in.gcount());
    if (in.eof()) break;
  }
  copy->flush();
  if (!*copy) {
    const int error = errno ? errno : EIO;
    NotKept(name, {}, error, problem);
    return nullptr;
  }
  copy->seekg(0);
  return copy;
}

// Reads the whole table once: the number of records and, unless given, the encoding.
void Scan(BatchInput& input, bool detect, const std::atomic<bool>* cancel) {
  TableReader reader(*input.stream, input.delimiter);
  EncodingDetector detector;
  TableRecord record;
  long records = 0;
  while (!Cancelled(cancel) && reader.Next(record)) {
    ++records;
    if (detect)
      for (const std::string& cell : record.cells) detector.See(cell);
  }
  input.records = records;
  if (detect) input.encoding = detector.Result();
  input.stream->clear();
  input.stream->seekg(0);
}

}  // namespace

std::optional<BatchInput> OpenBatchInput(const BatchInputRequest& request, BatchProblem* problem) {
  BatchInput input;
  input.delimiter = DelimiterForFile(request.path);
  input.encoding = request.encoding.value_or(TextEncoding::Utf8);
  const bool scan = request.countRows || !request.encoding;
  if (!request.stream) {
    input.owned = OpenFile(request.path, problem);
  } else if (scan) {
    input.owned = Spool(*request.stream, request.path, request.cancel, problem);
  } else {
    input.stream = request.stream;
  }
  if (!input.stream && !input.owned) return std::nullopt;
  if (!input.stream) input.stream = input.owned.get();
  if (scan) Scan(input, !request.encoding, request.cancel);
  if (input.stream->bad()) {
    CannotRead(request.path, EIO, problem);
    return std::nullopt;
  }
  return input;
}

BatchProblem EmptyInput() {
  return MakeBatchProblem(BatchStop::InputEmpty);
}

}  // namespace quillet
