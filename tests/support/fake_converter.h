// A converter for scheduler tests: no processes, no files, no sleeps. Each
// conversion waits until the test releases it by input name (or the batch is
// cancelled), then succeeds or fails as the test said.
#pragma once

#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "services/converter.h"

namespace quorvane::test {

class FakeConverter final : public core::Converter {
 public:
  core::ConversionResult convert(const core::ConversionJob& job,
                                 const core::CancellationToken& token,
                                 const core::BatchContext& batch) const override;

  // Lets the conversion of `name` (the input's file name) end.
  void release(const std::string& name);
  void releaseAll();
  // Conversions wait again until released (after release or releaseAll).
  void closeGate();
  // Conversions of `name` fail ("The image data is damaged").
  void failOn(const std::string& name);
  // Conversions of `name` go on after a cancel, until released (a tool that
  // finishes its file anyway).
  void ignoreCancelOf(const std::string& name);
  // Conversions of `name` end with this result instead of a written file.
  void resultOf(const std::string& name, core::ConversionResult result);
  // Conversions of `name` write an output of `bytes` bytes (else none).
  void writeOutputOf(const std::string& name, std::size_t bytes);

  int running() const;
  int mostAtOnce() const;
  // Input names in the order their conversions began, and the jobs.
  std::vector<std::string> started() const;
  std::vector<core::ConversionJob> jobs() const;

 private:
  mutable std::mutex m_mutex;
  mutable std::condition_variable m_changed;
  std::set<std::string> m_released;
  std::set<std::string> m_failing;
  std::set<std::string> m_stubborn;
  std::map<std::string, std::size_t> m_outputBytes;
  std::map<std::string, core::ConversionResult> m_results;
  bool m_releaseAll = false;
  mutable int m_running = 0;
  mutable int m_mostAtOnce = 0;
  mutable std::vector<std::string> m_started;
  mutable std::vector<core::ConversionJob> m_jobs;
};

}  // namespace quorvane::test
