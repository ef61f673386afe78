// A stream buffer over a file descriptor that keeps the error of the write that failed:
// a stream only says that it failed, and errno has been overwritten by the time anyone
// asks, so a full disk would be reported as whatever failed last.
#pragma once

#include <streambuf>
#include <string>
#include <vector>

namespace rivulet {

class FdOutputBuffer : public std::streambuf {
 public:
  /// Writes to fd, which stays open when the buffer goes.
  explicit FdOutputBuffer(int fd);
  ~FdOutputBuffer() override;
  FdOutputBuffer(const FdOutputBuffer&) = delete;
  FdOutputBuffer& operator=(const FdOutputBuffer&) = delete;

  /// The errno of the first write that failed; 0 while every write has worked.
  int Error() const { return error_; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;

 private:
  bool Drain();
  bool WriteAll(const char* data, size_t size);

  int fd_;
  int error_ = 0;
  std::vector<char> buffer_;
};

/// The errno a failed stream's writes met when its buffer is an FdOutputBuffer; else the
/// current errno, or 0 when there is none.
int StreamWriteError(const std::ostream& out);

/// "NAME: CAUSE" for a write that failed with errno e (0: a cause the system did not give).
std::string WriteFailureText(const std::string& name, int e);

}  // namespace rivulet
