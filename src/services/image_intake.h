// Finding and measuring the images of dropped files and folders, off the GUI
// thread. A walk of a large tree, or of a folder on a slow disk, never blocks
// the window: the images found are handed over in chunks as the walk goes on.
#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "models/image_item.h"

namespace quorvane::core {

// The facts of one file: its size, and its pixel size from the header
// (0 x 0 when it cannot be read), and, for a file found by walking `root`,
// its folder relative to it. Never fails.
ImageFacts measureImage(const std::filesystem::path& path, const std::filesystem::path& root = {});

// A location a walk could not read, and why.
struct UnreadablePath {
  std::filesystem::path path;
  std::error_code error;
};

// Walks and measures on a worker thread of its own; delivers on the thread it
// lives on. Requests queue: a second drop during a walk is walked after it.
class ImageIntake : public QObject {
  Q_OBJECT

 public:
  explicit ImageIntake(QObject* parent = nullptr);
  // Stops the walk and waits for the worker.
  ~ImageIntake() override;

  // Walks `locations` after the requests before it. `skipFolder` (may be
  // empty) names folders a walk does not enter; it is called on the worker.
  void enqueue(std::vector<std::filesystem::path> locations,
               std::function<bool(const std::filesystem::path&)> skipFolder = {});
  // Drops every queued request and stops the running one; nothing more of
  // them is delivered.
  void cancel();
  bool isBusy() const { return m_busy; }

 signals:
  // Images of the running request, in walk order.
  void found(const std::vector<quorvane::core::ImageFacts>& images);
  // Locations of the running request that could not be read.
  void unreadable(const std::vector<quorvane::core::UnreadablePath>& paths);
  // Images a walk passed over because they lie in a folder it was told to
  // skip.
  void skipped(int images);
  // One request has been walked to its end.
  void requestFinished();
  // Walking begins, or every request is done (or cancelled).
  void busyChanged(bool busy);

 private:
  struct Request {
    std::vector<std::filesystem::path> locations;
    std::function<bool(const std::filesystem::path&)> skipFolder;
    std::uint64_t generation = 0;
  };
  void run();
  void walk(const Request& request);
  void deliver(std::uint64_t generation, std::vector<ImageFacts> images,
               std::vector<UnreadablePath> paths, int skipped);
  void requestDone(std::uint64_t generation);

  std::mutex m_mutex;
  std::condition_variable m_wake;
  std::deque<Request> m_queue;
  bool m_stopping = false;
  std::atomic<std::uint64_t> m_generation{0};
  int m_pending = 0;  // GUI thread: requests enqueued and not yet done
  bool m_busy = false;
  std::thread m_worker;
};

}  // namespace quorvane::core
