#include "core/shell/fd_output.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>

namespace rivulet {

FdOutputBuffer::FdOutputBuffer(int fd) : fd_(fd), buffer_(64 * 1024) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdOutputBuffer::~FdOutputBuffer() { Drain(); }

bool FdOutputBuffer::WriteAll(const char* data, size_t size) {
  // After one failure nothing more is written: the output is broken either way, and the
  // first cause is the one to tell.
  if (error_ != 0) return false;
  while (size > 0) {
    const ssize_t n = write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool FdOutputBuffer::Drain() {
  const bool ok = WriteAll(pbase(), static_cast<size_t>(pptr() - pbase()));
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return ok;
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int FdOutputBuffer::sync() { return Drain() ? 0 : -1; }

std::streamsize FdOutputBuffer::xsputn(const char* s, std::streamsize n) {
  if (n <= epptr() - pptr()) {
    std::memcpy(pptr(), s, static_cast<size_t>(n));
    pbump(static_cast<int>(n));
    return n;
  }
  if (!Drain() || !WriteAll(s, static_cast<size_t>(n))) return 0;
  return n;
}

int StreamWriteError(const std::ostream& out) {
  if (const auto* fd = dynamic_cast<const FdOutputBuffer*>(out.rdbuf()); fd && fd->Error() != 0)
    return fd->Error();
  return errno;
}

std::string WriteFailureText(const std::string& name, int e) {
  return name + ": " + (e != 0 ? std::strerror(e) : "the output could not be written");
}

}  // namespace rivulet
