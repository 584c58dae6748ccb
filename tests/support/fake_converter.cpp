#include "support/fake_converter.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include "services/conversion_errors.h"

namespace quorvane::test {

namespace fs = std::filesystem;

core::EncodedImage FakeConverter::encode(const core::ConversionJob& job,
                                         const core::CancellationToken& token) const {
  const std::string name = job.input.filename().native();
  // Registered (and later dropped) without holding our lock: a cancel holds
  // the token's lock while it calls back into ours.
  auto wake = token.onCancel([this] {
    std::lock_guard lock(m_mutex);
    m_changed.notify_all();
  });
  bool released = false;
  bool failing = false;
  std::size_t outputBytes = 0;
  FakeEncoding encoding{job.settings.format, job.settings.quality};
  {
    std::unique_lock lock(m_mutex);
    m_started.push_back(name);
    m_jobs.push_back(job);
    m_mostAtOnce = std::max(m_mostAtOnce, ++m_running);
    const bool stubborn = m_stubborn.count(name) > 0;
    m_changed.wait(lock, [&] {
      return m_releaseAll || m_released.count(name) > 0 || (token.isCancelled() && !stubborn);
    });
    --m_running;
    released = m_releaseAll || m_released.count(name) > 0;
    failing = m_failing.count(name) > 0;
    if (const auto found = m_encodings.find(name); found != m_encodings.end()) {
      encoding = found->second;
    }
    if (const auto found = m_outputBytes.find(name); found != m_outputBytes.end()) {
      outputBytes = found->second;
    }
  }
  wake.reset();
  if (!released) throw core::CancellationError();
  if (failing) {
    throw core::ConversionError::fromKind(core::ConversionError::Kind::ImageDamaged);
  }
  const fs::path folder =
      job.customOutputURL ? fs::absolute(*job.customOutputURL).parent_path() : job.outputDirectory;
  fs::create_directories(folder);
  core::EncodedImage encoded{
      .staged = std::make_unique<core::StagedOutput>(folder, core::fileExtension(encoding.format)),
      .format = encoding.format,
      .quality = encoding.quality,
      .chosen = encoding.chosen,
      .score = encoding.score,
      .note = encoding.note};
  std::ofstream(encoded.staged->path(), std::ios::binary) << std::string(outputBytes, 'o');
  return encoded;
}

void FakeConverter::ignoreCancelOf(const std::string& name) {
  std::lock_guard lock(m_mutex);
  m_stubborn.insert(name);
}

void FakeConverter::encodeAs(const std::string& name, FakeEncoding encoding) {
  std::lock_guard lock(m_mutex);
  m_encodings[name] = std::move(encoding);
}

void FakeConverter::writeOutputOf(const std::string& name, std::size_t bytes) {
  std::lock_guard lock(m_mutex);
  m_outputBytes[name] = bytes;
}

void FakeConverter::release(const std::string& name) {
  std::lock_guard lock(m_mutex);
  m_released.insert(name);
  m_changed.notify_all();
}

void FakeConverter::releaseAll() {
  std::lock_guard lock(m_mutex);
  m_releaseAll = true;
  m_changed.notify_all();
}

void FakeConverter::closeGate() {
  std::lock_guard lock(m_mutex);
  m_released.clear();
  m_releaseAll = false;
}

void FakeConverter::failOn(const std::string& name) {
  std::lock_guard lock(m_mutex);
  m_failing.insert(name);
}

int FakeConverter::running() const {
  std::lock_guard lock(m_mutex);
  return m_running;
}

int FakeConverter::mostAtOnce() const {
  std::lock_guard lock(m_mutex);
  return m_mostAtOnce;
}

std::vector<std::string> FakeConverter::started() const {
  std::lock_guard lock(m_mutex);
  return m_started;
}

std::vector<core::ConversionJob> FakeConverter::jobs() const {
  std::lock_guard lock(m_mutex);
  return m_jobs;
}

}  // namespace quorvane::test
