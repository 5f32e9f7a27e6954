#include "framework/core/streams.h"

#include <algorithm>
#include <cstring>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

// ---------------------------------------------------------------------------------------------
// TStream

int64_t TStream::Position() {
  return Seek(0, TSeekOrigin::soCurrent);
}

void TStream::SetPosition(int64_t position) {
  Seek(position, TSeekOrigin::soBeginning);
}

int64_t TStream::Size() {
  const int64_t saved = Seek(0, TSeekOrigin::soCurrent);
  const int64_t size = Seek(0, TSeekOrigin::soEnd);
  Seek(saved, TSeekOrigin::soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {
  throw EStreamError("Stream size cannot be changed");
}

void TStream::ReadBuffer(void *buffer, int32_t count) {
  if (count < 0 || (count != 0 && Read(buffer, count) != count)) {
    throw EReadError("Stream read error");
  }
}

void TStream::WriteBuffer(const void *buffer, int32_t count) {
  if (count < 0 || (count != 0 && Write(buffer, count) != count)) {
    throw EWriteError("Stream write error");
  }
}

int64_t TStream::CopyFrom(TStream &source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  if (count < 0) {
    throw EReadError("Stream read error");
  }
  constexpr int32_t chunkSize = 64 * 1024;
  std::vector<uint8_t> chunk(static_cast<size_t>(std::min<int64_t>(count, chunkSize)));
  int64_t left = count;
  while (left > 0) {
    const auto n = static_cast<int32_t>(std::min<int64_t>(left, chunkSize));
    source.ReadBuffer(chunk.data(), n);
    WriteBuffer(chunk.data(), n);
    left -= n;
  }
  return count;
}

// ---------------------------------------------------------------------------------------------
// TMemoryStream

int32_t TMemoryStream::Read(void *buffer, int32_t count) {
  const auto size = static_cast<int64_t>(data_.size());
  if (count <= 0 || position_ >= size) {
    return 0;
  }
  const auto n = static_cast<int32_t>(std::min<int64_t>(count, size - position_));
  std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int32_t TMemoryStream::Write(const void *buffer, int32_t count) {
  if (count <= 0) {
    return 0;
  }
  const int64_t end = position_ + count;
  if (end > static_cast<int64_t>(data_.size())) {
    SetSize(end);
  }
  std::memcpy(data_.data() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t base = 0;
  switch (origin) {
  case TSeekOrigin::soBeginning:
    base = 0;
    break;
  case TSeekOrigin::soCurrent:
    base = position_;
    break;
  case TSeekOrigin::soEnd:
    base = static_cast<int64_t>(data_.size());
    break;
  }
  const int64_t target = base + offset;
  if (target < 0) {
    throw EStreamError("Seek before the start of a memory stream");
  }
  position_ = target;
  return position_;
}

void TMemoryStream::SetSize(int64_t size) {
  // A memory stream is addressed with 32-bit counts; refuse sizes beyond that range.
  if (size < 0 || size > std::numeric_limits<int32_t>::max()) {
    throw EStreamError("Memory stream size out of range");
  }
  data_.resize(static_cast<size_t>(size));
  if (position_ > size) {
    position_ = size;
  }
}

void TMemoryStream::Clear() {
  data_.clear();
  data_.shrink_to_fit();
  position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream &source) {
  source.SetPosition(0);
  const int64_t size = source.Size();
  SetSize(size);
  position_ = 0;
  if (size > 0) {
    source.ReadBuffer(data_.data(), static_cast<int32_t>(size));
  }
}

void TMemoryStream::SaveToStream(TStream &dest) {
  if (!data_.empty()) {
    dest.WriteBuffer(data_.data(), static_cast<int32_t>(data_.size()));
  }
}

void TMemoryStream::LoadFromFile(const std::string &fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::string &fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}

// ---------------------------------------------------------------------------------------------
// TFileStream

#ifdef _WIN32

namespace {
HANDLE AsHandle(intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}
} // namespace

TFileStream::TFileStream(const std::string &fileName, TFileMode mode) : fileName_(fileName) {
  HANDLE h;
  if (mode == fmCreate) {
    h = CreateFileA(fileName.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      throw EFCreateError("Cannot create file \"" + fileName + "\"");
    }
  } else {
    static const DWORD access[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    static const DWORD share[] = {FILE_SHARE_READ | FILE_SHARE_WRITE, 0, FILE_SHARE_READ,
                                  FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};
    const unsigned accessIndex = mode & 0x0003u;
    const unsigned shareIndex = (mode & 0x00F0u) >> 4;
    if (accessIndex > 2 || shareIndex > 4) {
      throw EFOpenError("Cannot open file \"" + fileName + "\": invalid mode");
    }
    h = CreateFileA(fileName.c_str(), access[accessIndex], share[shareIndex], nullptr,
                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
      throw EFOpenError("Cannot open file \"" + fileName + "\"");
    }
  }
  handle_ = reinterpret_cast<intptr_t>(h);
}

TFileStream::~TFileStream() {
  CloseHandle(AsHandle(handle_));
}

int32_t TFileStream::Read(void *buffer, int32_t count) {
  DWORD done = 0;
  if (count <= 0 ||
      !ReadFile(AsHandle(handle_), buffer, static_cast<DWORD>(count), &done, nullptr)) {
    return 0;
  }
  return static_cast<int32_t>(done);
}

int32_t TFileStream::Write(const void *buffer, int32_t count) {
  DWORD done = 0;
  if (count <= 0 ||
      !WriteFile(AsHandle(handle_), buffer, static_cast<DWORD>(count), &done, nullptr)) {
    return 0;
  }
  return static_cast<int32_t>(done);
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER distance;
  LARGE_INTEGER result;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(AsHandle(handle_), distance, &result, methods[static_cast<int>(origin)])) {
    throw EStreamError("Cannot seek in file \"" + fileName_ + "\"");
  }
  return result.QuadPart;
}

void TFileStream::SetSize(int64_t size) {
  const int64_t saved = Position();
  SetPosition(size);
  if (!SetEndOfFile(AsHandle(handle_))) {
    throw EStreamError("Cannot change the size of \"" + fileName_ + "\"");
  }
  if (saved < size) {
    SetPosition(saved);
  }
}

#else

TFileStream::TFileStream(const std::string &fileName, TFileMode mode) : fileName_(fileName) {
  int fd;
  if (mode == fmCreate) {
    fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
      throw EFCreateError("Cannot create file \"" + fileName + "\"");
    }
  } else {
    static const int flags[] = {O_RDONLY, O_WRONLY, O_RDWR};
    const unsigned accessIndex = mode & 0x0003u;
    if (accessIndex > 2) {
      throw EFOpenError("Cannot open file \"" + fileName + "\": invalid mode");
    }
    // Share modes have no equivalent here; POSIX files are always shared.
    fd = ::open(fileName.c_str(), flags[accessIndex] | O_CLOEXEC);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode))) {
      ::close(fd);
      fd = -1;
    }
    if (fd < 0) {
      throw EFOpenError("Cannot open file \"" + fileName + "\"");
    }
  }
  handle_ = fd;
}

TFileStream::~TFileStream() {
  ::close(static_cast<int>(handle_));
}

namespace {

// Repeats a read(2) or write(2) until count bytes are through, the end is reached or it fails;
// an interrupted call is retried. Returns the bytes transferred.
template <class Buffer, class Transfer>
int32_t TransferAll(Buffer *buffer, int32_t count, Transfer transfer) {
  int32_t total = 0;
  while (total < count) {
    const ssize_t n = transfer(buffer + total, static_cast<size_t>(count - total));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      break;
    total += static_cast<int32_t>(n);
  }
  return total;
}

} // namespace

int32_t TFileStream::Read(void *buffer, int32_t count) {
  const int fd = static_cast<int>(handle_);
  return TransferAll(static_cast<uint8_t *>(buffer), count,
                     [fd](uint8_t *p, size_t n) { return ::read(fd, p, n); });
}

int32_t TFileStream::Write(const void *buffer, int32_t count) {
  const int fd = static_cast<int>(handle_);
  return TransferAll(static_cast<const uint8_t *>(buffer), count,
                     [fd](const uint8_t *p, size_t n) { return ::write(fd, p, n); });
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  const off_t result = ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset),
                               whence[static_cast<int>(origin)]);
  if (result < 0) {
    throw EStreamError("Cannot seek in file \"" + fileName_ + "\"");
  }
  return static_cast<int64_t>(result);
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0 || ::ftruncate(static_cast<int>(handle_), static_cast<off_t>(size)) != 0) {
    throw EStreamError("Cannot change the size of \"" + fileName_ + "\"");
  }
  if (Position() > size) {
    SetPosition(size);
  }
}

#endif
