#include "support/fake_converter.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include "services/conversion_errors.h"

namespace quorvane::test {

namespace fs = std::filesystem;

core::ConversionResult FakeConverter::convert(const core::ConversionJob& job,
                                              const core::CancellationToken& token,
                                              const core::BatchContext& batch) const {
  core::OutputNameReservations* const reservations = batch.reservations;
  const std::string name = job.input.filename().native();
  // Registered (and later dropped) without holding our lock: a cancel holds
  // the token's lock while it calls back into ours.
  auto wake = token.onCancel([this] {
    std::lock_guard lock(m_mutex);
    m_changed.notify_all();
  });
  bool released = false;
  bool failing = false;
  std::optional<core::ConversionResult> result;
  std::optional<std::size_t> outputBytes;
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
    if (const auto found = m_results.find(name); found != m_results.end()) result = found->second;
    if (const auto found = m_outputBytes.find(name); found != m_outputBytes.end()) {
      outputBytes = found->second;
    }
  }
  wake.reset();
  if (!released) throw core::CancellationError();
  if (failing) {
    throw core::ConversionError::fromKind(core::ConversionError::Kind::ImageDamaged);
  }
  if (result) return *result;
  const QString ext = core::fileExtension(job.format);
  fs::path output;
  if (job.customOutputURL) {
    output = *job.customOutputURL;
  } else if (reservations) {
    output = reservations->reserveUnique(job.outputDirectory, job.input.stem(), ext);
  } else {
    output = job.outputDirectory / (job.input.stem().native() + "." + ext.toStdString());
  }
  if (outputBytes) {
    fs::create_directories(output.parent_path());
    std::ofstream(output, std::ios::binary) << std::string(*outputBytes, 'o');
  }
  return {core::ConversionResult::Kind::Written, output, 0, {}};
}

void FakeConverter::ignoreCancelOf(const std::string& name) {
  std::lock_guard lock(m_mutex);
  m_stubborn.insert(name);
}

void FakeConverter::resultOf(const std::string& name, core::ConversionResult result) {
  std::lock_guard lock(m_mutex);
  m_results[name] = std::move(result);
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
