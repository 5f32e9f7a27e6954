// Byte streams: the abstract stream, a growable memory stream and a file stream.
//
// Counts are 32-bit as the callers' buffers are; positions and sizes are 64-bit so that a file
// larger than 2 GB can still be walked. File names are narrow strings in the ANSI code page.
#pragma once

#include "framework/core/objects.h"
#include "framework/core/sysutils.h"

#include <cstdint>
#include <string>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class EStreamError : public Exception {
public:
  using Exception::Exception;
};
class EReadError : public EStreamError {
public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
  using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
public:
  using EStreamError::EStreamError;
};

class TStream : public TObject {
public:
  // Reads up to count bytes; returns how many were read (0 at the end).
  virtual int32_t Read(void *buffer, int32_t count) = 0;
  // Writes up to count bytes; returns how many were written.
  virtual int32_t Write(const void *buffer, int32_t count) = 0;
  // Moves the position and returns the new one.
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position();
  void SetPosition(int64_t position);
  virtual int64_t Size();
  virtual void SetSize(int64_t size);

  // All-or-nothing transfers: a short read raises EReadError, a short write EWriteError.
  void ReadBuffer(void *buffer, int32_t count);
  void WriteBuffer(const void *buffer, int32_t count);
  // Copies count bytes from source's current position; count 0 copies the whole source from
  // its start. Returns the number of bytes copied.
  int64_t CopyFrom(TStream &source, int64_t count);
};

class TMemoryStream : public TStream {
public:
  int32_t Read(void *buffer, int32_t count) override;
  int32_t Write(const void *buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  int64_t Size() const { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t size) override;

  // The bytes of the stream; valid until the next call that changes the size.
  uint8_t *Memory() { return data_.data(); }
  const uint8_t *Memory() const { return data_.data(); }
  void Clear();
  // Replaces the contents with the whole of source (from its start); position 0 afterwards.
  void LoadFromStream(TStream &source);
  // Writes the whole contents to dest at its current position.
  void SaveToStream(TStream &dest);
  void LoadFromFile(const std::string &fileName);
  void SaveToFile(const std::string &fileName);

private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

// File open modes: one access mode or'ed with one share mode, or fmCreate.
using TFileMode = uint16_t;
constexpr TFileMode fmOpenRead = 0x0000;
constexpr TFileMode fmOpenWrite = 0x0001;
constexpr TFileMode fmOpenReadWrite = 0x0002;
constexpr TFileMode fmShareCompat = 0x0000;
constexpr TFileMode fmShareExclusive = 0x0010;
constexpr TFileMode fmShareDenyWrite = 0x0020;
constexpr TFileMode fmShareDenyRead = 0x0030;
constexpr TFileMode fmShareDenyNone = 0x0040;
// Creates the file or truncates an existing one, opened for reading and writing.
constexpr TFileMode fmCreate = 0xFF00;

class TFileStream : public TStream {
public:
  // Raises EFCreateError (fmCreate) or EFOpenError when the file cannot be opened.
  TFileStream(const std::string &fileName, TFileMode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream &) = delete;
  TFileStream &operator=(const TFileStream &) = delete;

  int32_t Read(void *buffer, int32_t count) override;
  int32_t Write(const void *buffer, int32_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t size) override;

  const std::string &FileName() const { return fileName_; }

private:
  std::string fileName_;
  intptr_t handle_; // a HANDLE on Windows, a file descriptor elsewhere
};
