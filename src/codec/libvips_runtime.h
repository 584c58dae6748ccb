// Process-wide libvips set-up, owned by main() in each front end (and by the
// test mains). While one exists, the codec functions may be called from any
// thread.
#pragma once

namespace quorvane::codec {

class LibvipsRuntime {
 public:
  // Initialises libvips once for the process: operation cache off (a file
  // replaced on disk must never come back as its old pixels) and one libvips
  // worker thread per pipeline (we convert one image per core ourselves).
  // argv0 may be null. Throws std::runtime_error when libvips cannot start.
  explicit LibvipsRuntime(const char* argv0 = nullptr);
  ~LibvipsRuntime();
  LibvipsRuntime(const LibvipsRuntime&) = delete;
  LibvipsRuntime& operator=(const LibvipsRuntime&) = delete;
};

}  // namespace quorvane::codec
