// A converter for scheduler tests: no processes, no decoding, no sleeps. Each
// conversion waits until the test releases it by input name (or the batch is
// cancelled), then fails, or stages an output of the size the test said
// (empty unless told) for the batch to publish.
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

// What the fake says of an image it staged, beside its size.
struct FakeEncoding {
  core::OutputFormat format = core::OutputFormat::Webp;
  int quality = 80;
  bool chosen = false;  // as if Auto had chosen it
  std::optional<double> score{};
  QString note{};
};

class FakeConverter final : public core::Converter {
 public:
  core::EncodedImage encode(const core::ConversionJob& job,
                            const core::CancellationToken& token) const override;

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
  // Conversions of `name` stage an output of `bytes` bytes.
  void writeOutputOf(const std::string& name, std::size_t bytes);
  // Conversions of `name` are encoded so; others in the job's format and
  // quality.
  void encodeAs(const std::string& name, FakeEncoding encoding);

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
  std::map<std::string, FakeEncoding> m_encodings;
  bool m_releaseAll = false;
  mutable int m_running = 0;
  mutable int m_mostAtOnce = 0;
  mutable std::vector<std::string> m_started;
  mutable std::vector<core::ConversionJob> m_jobs;
};

}  // namespace quorvane::test
