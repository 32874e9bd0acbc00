// Reading a whole file without surprises: only regular files are read, and a
// FIFO or device is refused at once instead of blocking or reading forever.
#ifndef TALVORO_FRAME_FILE_BYTES_H_
#define TALVORO_FRAME_FILE_BYTES_H_

#include <string>

namespace talvoro {

// Owns a file descriptor and closes it.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor();

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded.
  bool Close();

 private:
  int fd_;
};

// Reads the regular file at `path` into `bytes`. False when the path does not
// name a readable regular file, or reading fails.
bool ReadRegularFile(const char* path, std::string& bytes);

}  // namespace talvoro

#endif  // TALVORO_FRAME_FILE_BYTES_H_
