#include "services/image_intake.h"

#include <algorithm>
#include <chrono>
#include <limits>

#include "codec/image_codec.h"
#include "services/file_service.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// A chunk goes out when it is this large or this old: rows appear at once for
// a small drop and without flooding the GUI thread for a large one.
constexpr std::size_t kChunkImages = 512;
constexpr auto kChunkAge = std::chrono::milliseconds(100);

}  // namespace

ImageFacts measureImage(const fs::path& path, const fs::path& root) {
  ImageFacts facts;
  facts.url = path;
  if (!root.empty()) {
    facts.root = root;
    facts.relativeFolder = path.parent_path().lexically_relative(root);
    if (facts.relativeFolder == ".") facts.relativeFolder.clear();
  }
  std::error_code error;
  const auto size = fs::file_size(path, error);
  if (!error && size <= static_cast<std::uintmax_t>(std::numeric_limits<qint64>::max())) {
    facts.originalSize = static_cast<qint64>(size);
  }
  if (auto size = codec::readImageSize(path)) {
    facts.pixelWidth = size.value().width;
    facts.pixelHeight = size.value().height;
  }
  return facts;
}

ImageIntake::ImageIntake(QObject* parent) : QObject(parent) {
  qRegisterMetaType<std::vector<ImageFacts>>();
  qRegisterMetaType<std::vector<UnreadablePath>>();
  m_worker = std::thread([this] { run(); });
}

ImageIntake::~ImageIntake() {
  {
    std::lock_guard lock(m_mutex);
    m_stopping = true;
    m_queue.clear();
  }
  ++m_generation;
  m_wake.notify_all();
  m_worker.join();
}

void ImageIntake::enqueue(std::vector<fs::path> locations,
                          std::function<bool(const fs::path&)> skipFolder) {
  {
    std::lock_guard lock(m_mutex);
    m_queue.push_back({std::move(locations), std::move(skipFolder), m_generation.load()});
  }
  ++m_pending;
  if (!m_busy) {
    m_busy = true;
    emit busyChanged(true);
  }
  m_wake.notify_one();
}

void ImageIntake::cancel() {
  {
    std::lock_guard lock(m_mutex);
    m_queue.clear();
  }
  // What is on its way belongs to the old generation and is dropped.
  ++m_generation;
  if (m_pending == 0) return;
  m_pending = 0;
  m_busy = false;
  emit busyChanged(false);
}

void ImageIntake::run() {
  for (;;) {
    Request request;
    {
      std::unique_lock lock(m_mutex);
      m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
      if (m_stopping) return;
      request = std::move(m_queue.front());
      m_queue.pop_front();
    }
    walk(request);
    codec::releaseThreadResources();
    QMetaObject::invokeMethod(
        this, [this, generation = request.generation] { requestDone(generation); },
        Qt::QueuedConnection);
  }
}

namespace {

// The facts of every file, measured by as many threads as there are CPUs:
// header reads are most of an intake's time.
struct FoundFile {
  fs::path file;
  fs::path root;
};

std::vector<ImageFacts> measureAll(const std::vector<FoundFile>& files) {
  std::vector<ImageFacts> facts(files.size());
  const unsigned threads = std::min<unsigned>(std::max(1u, std::thread::hardware_concurrency()),
                                              static_cast<unsigned>((files.size() + 63) / 64));
  const auto measureEvery = [&](unsigned first, unsigned step) {
    for (std::size_t i = first; i < files.size(); i += step)
      facts[i] = measureImage(files[i].file, files[i].root);
    codec::releaseThreadResources();
  };
  std::vector<std::jthread> helpers;
  for (unsigned t = 1; t < threads; ++t) helpers.emplace_back(measureEvery, t, threads);
  for (std::size_t i = 0; i < files.size(); i += std::max(1u, threads)) {
    facts[i] = measureImage(files[i].file, files[i].root);
  }
  return facts;
}

}  // namespace

void ImageIntake::walk(const Request& request) {
  std::vector<FoundFile> files;
  std::vector<UnreadablePath> paths;
  int skipped = 0;
  auto chunkStart = std::chrono::steady_clock::now();
  const auto flush = [&] {
    if (files.empty() && paths.empty() && skipped == 0) return;
    deliver(request.generation, measureAll(files), std::move(paths), skipped);
    files.clear();
    paths = {};
    skipped = 0;
    chunkStart = std::chrono::steady_clock::now();
  };
  // A skipped folder's images are counted, so the user hears of them.
  const auto skipFolder = [&](const fs::path& folder) {
    if (!request.skipFolder || !request.skipFolder(folder)) return false;
    FileService::walkImageFiles({folder}, {.image = [&](const fs::path&, const fs::path&) {
                                  ++skipped;
                                  return true;
                                }});
    return true;
  };
  const auto current = [&] { return m_generation.load() == request.generation; };
  FileService::walkImageFiles(
      request.locations, {.image =
                              [&](const fs::path& file, const fs::path& root) {
                                if (!current()) return false;
                                files.push_back({file, root});
                                if (files.size() >= kChunkImages ||
                                    std::chrono::steady_clock::now() - chunkStart >= kChunkAge) {
                                  flush();
                                }
                                return true;
                              },
                          .unreadable =
                              [&](const fs::path& path, std::error_code error) {
                                paths.push_back({path, error});
                              },
                          .skipFolder = skipFolder});
  if (current()) flush();
}

void ImageIntake::deliver(std::uint64_t generation, std::vector<ImageFacts> images,
                          std::vector<UnreadablePath> paths, int skippedImages) {
  QMetaObject::invokeMethod(
      this,
      [this, generation, images = std::move(images), paths = std::move(paths), skippedImages] {
        if (generation != m_generation.load()) return;
        if (!images.empty()) emit found(images);
        if (!paths.empty()) emit unreadable(paths);
        if (skippedImages > 0) emit skipped(skippedImages);
      },
      Qt::QueuedConnection);
}

void ImageIntake::requestDone(std::uint64_t generation) {
  if (generation != m_generation.load() || m_pending == 0) return;
  emit requestFinished();
  if (--m_pending > 0) return;
  m_busy = false;
  emit busyChanged(false);
}

}  // namespace quorvane::core
