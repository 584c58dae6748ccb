#include "viewmodels/compare_view_model.h"

#include <QCoreApplication>
#include <chrono>
#include <future>
#include <system_error>

#include "codec/opened_image.h"
#include "codec/perceptual_score.h"
#include "services/conversion_errors.h"
#include "services/output_check.h"
#include "services/prepared_input.h"
#include "services/temporary_files.h"
#include "viewmodels/difference_heat_map.h"

namespace quorvane::core {

namespace fs = std::filesystem;

namespace {

// Frees libvips' per-thread buffers when a job ends on a pool thread.
struct ThreadResourcesGuard {
  ~ThreadResourcesGuard() { codec::releaseThreadResources(); }
};

// Hands what a preparation gave (null: nothing) to the trials waiting for it
// when it goes out of scope, however the preparation ended.
struct Handover {
  explicit Handover(std::promise<std::shared_ptr<PreparedInput>>& promise) : promise(promise) {}
  ~Handover() { promise.set_value(std::move(prepared)); }
  Handover(const Handover&) = delete;
  Handover& operator=(const Handover&) = delete;
  std::promise<std::shared_ptr<PreparedInput>>& promise;
  std::shared_ptr<PreparedInput> prepared;
};

codec::StopRequested stopOn(const CancellationToken& token) {
  return [token] { return token.isCancelled(); };
}

QString describe(const codec::CodecError& error) {
  try {
    throwCodecFailure(error);
  } catch (const ConversionFailure& failure) {
    return failure.description();
  }
}

// Decodes `path` to fit the preview size, then in full, handing each picture
// to `deliver`; a failure goes to `fail`. Stops when `token` is cancelled.
template <typename Deliver, typename Fail>
void decodeBoth(const fs::path& path, int previewWidth, int previewHeight,
                const CancellationToken& token, Deliver&& deliver, Fail&& fail) {
  const ThreadResourcesGuard threadResources;
  auto opened = codec::OpenedImage::open(path);
  if (!opened) return fail(describe(opened.error()));
  const codec::ImageHeader& header = opened.value().header();
  const bool large = header.width > 2 * previewWidth || header.height > 2 * previewHeight;
  if (large && previewWidth > 0 && previewHeight > 0) {
    // The decoder keeps at least twice the size it is asked to fit: half the
    // preview gives a picture of at least the preview's pixels.
    auto reduced = opened.value().decode({.stopRequested = stopOn(token),
                                          .fitWidth = std::max(1, previewWidth / 2),
                                          .fitHeight = std::max(1, previewHeight / 2)});
    if (token.isCancelled()) return;
    if (!reduced) return fail(describe(reduced.error()));
    const bool full = reduced.value().width() == header.width;
    deliver(ComparePicture{std::make_shared<const codec::RgbaImage>(std::move(reduced).value()),
                           header.width, header.height, full});
    if (full) return;
  }
  auto whole = opened.value().decode({.stopRequested = stopOn(token)});
  if (token.isCancelled()) return;
  if (!whole) return fail(describe(whole.error()));
  deliver(ComparePicture{std::make_shared<const codec::RgbaImage>(std::move(whole).value()),
                         header.width, header.height, true});
}

// The original as the output's encoder saw it: at the output's size, and on
// white where the format flattens transparency.
codec::Result<codec::RgbaImage> referenceFor(const codec::RgbaImage& original, int width,
                                             int height, const EncodeSettings& settings,
                                             const codec::StopRequested& stop) {
  codec::Result<codec::RgbaImage> reference =
      original.width() == width && original.height() == height
          ? codec::Result<codec::RgbaImage>(original.clone())
          : codec::resize(original, width, height, stop);
  if (!reference) return reference;
  if (settings.format == OutputFormat::Jpeg ||
      (settings.format == OutputFormat::Png && !settings.options.keepAlpha)) {
    codec::flattenOnto(reference.value(), 255, 255, 255);
  }
  return reference;
}

}  // namespace

CompareViewModel::CompareViewModel(const Converter& converter, fs::path scratchFolder,
                                   QObject* parent)
    : QObject(parent), m_converter(converter), m_scratchFolder(std::move(scratchFolder)) {
  // The two decodes at once; an encode and a map beside them.
  m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
}

CompareViewModel::~CompareViewModel() {
  m_openToken.cancel();
  m_encodeToken.cancel();
  m_differenceToken.cancel();
  m_pool.waitForDone();
}

template <typename Apply>
void CompareViewModel::post(Apply&& apply) {
  // Queued to this object: dropped when it is gone by then.
  QMetaObject::invokeMethod(this, std::forward<Apply>(apply), Qt::QueuedConnection);
}

void CompareViewModel::open(CompareSubject subject, int previewWidth, int previewHeight) {
  m_openToken.cancel();
  m_encodeToken.cancel();
  m_differenceToken.cancel();
  m_openToken = CancellationToken();
  ++m_openSerial;
  ++m_outputSerial;
  ++m_differenceSerial;
  m_subject = std::move(subject);
  m_requestedQuality = m_subject.settings.quality;
  m_original = {};
  m_output = CompareOutput{.picture = {},
                           .quality = m_subject.settings.quality,
                           .size = m_subject.outputSize,
                           .score = m_subject.score};
  m_difference = {};
  setEncoding(false);
  setComputingDifference(false);
  setProblem({});
  emit originalChanged();
  emit outputChanged();
  emit differenceMapChanged();
  m_previewWidth = previewWidth;
  m_previewHeight = previewHeight;
  decodeOriginal(previewWidth, previewHeight);
  decodeOutput(previewWidth, previewHeight);
}

ConversionJob CompareViewModel::trialJob(int quality) const {
  ConversionJob job{m_subject.original, m_scratchFolder, std::nullopt, m_subject.settings};
  job.settings.quality = quality;
  // The receipt is measured here, after the picture is shown, with the map.
  job.settings.options.checkQuality = false;
  return job;
}

void CompareViewModel::decodeOriginal(int previewWidth, int previewHeight) {
  auto preparation = std::make_shared<std::promise<std::shared_ptr<PreparedInput>>>();
  m_prepared = preparation->get_future().share();
  m_pool.start([this, path = m_subject.original, previewWidth, previewHeight, token = m_openToken,
                serial = m_openSerial, job = trialJob(m_subject.settings.quality),
                preparation = std::move(preparation)] {
    // However this ends, a trial waiting for the preparation goes on.
    Handover handover(*preparation);
    decodeBoth(
        path, previewWidth, previewHeight, token,
        [&](ComparePicture picture) {
          post([this, picture = std::move(picture), serial] {
            if (serial != m_openSerial) return;
            m_original = picture;
            emit originalChanged();
            computeDifferenceWhenReady();
          });
        },
        [&](const QString& problem) {
          post([this, problem, serial] {
            if (serial == m_openSerial) setProblem(problem);
          });
        });
    // Once the pictures are there, the input is made ready for trials at
    // other qualities, so that a trial runs only the encoder.
    if (token.isCancelled()) return;
    try {
      handover.prepared = m_converter.prepare(job, token);
    } catch (const ConversionFailure&) {
      // a trial meets the failure itself and says so
    } catch (const std::bad_alloc&) {
    }
  });
}

void CompareViewModel::decodeOutput(int previewWidth, int previewHeight) {
  m_pool.start([this, path = m_subject.output, previewWidth, previewHeight, token = m_openToken,
                serial = m_outputSerial] {
    decodeBoth(
        path, previewWidth, previewHeight, token,
        [&](ComparePicture picture) {
          post([this, picture = std::move(picture), serial] {
            if (serial != m_outputSerial) return;
            CompareOutput output = m_output;
            output.picture = picture;
            setOutput(std::move(output));
          });
        },
        [&](const QString& problem) {
          post([this, problem, serial] {
            if (serial == m_outputSerial) setProblem(problem);
          });
        });
  });
}

void CompareViewModel::requestQuality(int quality) {
  quality = std::clamp(quality, 0, 100);
  if (m_subject.original.empty() || quality == m_requestedQuality) return;
  m_requestedQuality = quality;
  m_encodeToken.cancel();
  m_encodeToken = CancellationToken();
  const quint64 serial = ++m_outputSerial;
  setEncoding(true);
  m_pool.start([this, job = trialJob(quality), token = m_encodeToken, serial,
                preparation = m_prepared, previewWidth = m_previewWidth,
                previewHeight = m_previewHeight]() mutable {
    const ThreadResourcesGuard threadResources;
    // A trial asked for right after opening waits for the original being
    // prepared rather than decoding it a second time beside it.
    if (preparation.valid()) {
      while (preparation.wait_for(std::chrono::milliseconds(20)) != std::future_status::ready) {
        if (token.isCancelled()) return;
      }
      try {
        job.prepared = preparation.get();
      } catch (const std::future_error&) {
        // never handed over: this trial prepares its own
      }
      if (token.isCancelled()) return;  // by the opening that stopped the preparation
    }
    CompareOutput output;
    output.quality = job.settings.quality;
    output.trial = true;
    const auto failed = [&](const QString& problem) {
      post([this, problem, serial] {
        if (serial != m_outputSerial) return;
        setEncoding(false);
        setProblem(problem);
      });
    };
    try {
      if (job.outputDirectory.empty()) job.outputDirectory = privateTemporaryFolder();
      // The staged file goes when `encoded` does, at the end of this block.
      const EncodedImage encoded = m_converter.encode(job, token);
      output.size = sizeOf(encoded.staged->path());
      // As on opening: a reduced picture first, then the whole one.
      decodeBoth(
          encoded.staged->path(), previewWidth, previewHeight, token,
          [&](ComparePicture picture) {
            CompareOutput shown = output;
            shown.picture = std::move(picture);
            post([this, shown = std::move(shown), serial] {
              if (serial != m_outputSerial) return;
              setEncoding(false);
              setProblem({});
              setOutput(shown);
            });
          },
          failed);
    } catch (const CancellationError&) {
      return;
    } catch (const ConversionFailure& failure) {
      failed(failure.description());
    } catch (const std::bad_alloc&) {
      failed(ConversionError::fromKind(ConversionError::Kind::OutOfMemory).description());
    }
  });
}

void CompareViewModel::setOutput(CompareOutput output) {
  const bool pixelsChanged = output.picture.pixels != m_output.picture.pixels;
  m_output = std::move(output);
  if (pixelsChanged) {
    // A map of the pictures before is of no use: stopped, or forgotten.
    m_differenceToken.cancel();
    ++m_differenceSerial;
    setComputingDifference(false);
    if (!m_difference.empty()) {
      m_difference = {};
      emit differenceMapChanged();
    }
  }
  emit outputChanged();
  computeDifferenceWhenReady();
}

void CompareViewModel::setDifferenceMapShown(bool shown) {
  if (m_differenceShown == shown) return;
  m_differenceShown = shown;
  computeDifferenceWhenReady();
}

void CompareViewModel::computeDifferenceWhenReady() {
  // A trial has its receipt measured with the map, shown or not.
  const bool scoreMissing = m_output.trial && !m_output.score;
  if ((!m_differenceShown && !scoreMissing) || !m_original.full || !m_output.picture.full) return;
  // Already there, or on its way for these very pictures.
  if (!m_difference.empty() || m_computingDifference) return;
  m_differenceToken = CancellationToken();
  const quint64 serial = ++m_differenceSerial;
  setComputingDifference(true);
  m_pool.start([this, original = m_original.pixels, output = m_output.picture.pixels,
                settings = m_subject.settings, token = m_differenceToken, serial] {
    const ThreadResourcesGuard threadResources;
    ComparePicture map;
    QString problem;
    auto reference =
        referenceFor(*original, output->width(), output->height(), settings, stopOn(token));
    std::vector<float> differences;
    const auto score =
        reference
            ? codec::perceptualScore(
                  reference.value(), *output,
                  {.stopRequested = stopOn(token), .threads = 1, .differenceMap = &differences})
            : codec::Result<double>(reference.error());
    if (token.isCancelled()) return;
    if (score) {
      map = {std::make_shared<const codec::RgbaImage>(
                 differenceHeatMap(differences, output->width(), output->height())),
             output->width(), output->height(), true};
    } else {
      problem = describe(score.error());
    }
    post([this, map = std::move(map), problem, score = score ? score.value() : 0.0, serial] {
      if (serial != m_differenceSerial) return;
      setComputingDifference(false);
      if (!problem.isEmpty()) return setProblem(problem);
      m_difference = map;
      emit differenceMapChanged();
      if (m_output.trial && !m_output.score) {
        m_output.score = score;
        emit outputChanged();
      }
    });
  });
}

void CompareViewModel::setEncoding(bool encoding) {
  if (m_encoding == encoding) return;
  m_encoding = encoding;
  emit isEncodingChanged(encoding);
}

void CompareViewModel::setComputingDifference(bool computing) {
  if (m_computingDifference == computing) return;
  m_computingDifference = computing;
  emit isComputingDifferenceChanged(computing);
}

void CompareViewModel::setProblem(const QString& problem) {
  if (m_problem == problem) return;
  m_problem = problem;
  emit problemChanged(problem);
}

}  // namespace quorvane::core
