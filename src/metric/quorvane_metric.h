/* Perceptual comparison of two images: the SSIMULACRA 2 score of a distorted
 * image against its reference (Jon Sneyers, Cloudinary, 2022, revised 2023;
 * the published weights and mapping). 100 means identical; about 90 a change
 * nobody sees even flicking between the two at 1:1, 70 small artefacts a
 * viewer notices only when comparing, 50 medium quality, 30 and below low.
 * Plain C interface. */
#ifndef QUORVANE_METRIC_H
#define QUORVANE_METRIC_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define QUORVANE_METRIC_NOEXCEPT noexcept
extern "C" {
#else
#define QUORVANE_METRIC_NOEXCEPT
#endif

/* Statuses. */
#define QUORVANE_METRIC_OK 0
/* A null pointer, a zero side, a stride too small, or no memory. */
#define QUORVANE_METRIC_INVALID (-1)
/* should_stop asked to stop. */
#define QUORVANE_METRIC_STOPPED (-2)
/* A side shorter than QUORVANE_METRIC_MIN_SIDE: too small to judge. */
#define QUORVANE_METRIC_TOO_SMALL (-3)

#define QUORVANE_METRIC_MIN_SIDE 8

/* Asked between pieces of work (every few thousand pixels); a non-zero answer
 * stops the comparison. May be called from several of the metric's threads at
 * once. */
typedef int32_t (*quorvane_metric_should_stop_fn)(void* context);

typedef struct quorvane_metric_options {
  /* Threads to use, the calling one included; 0 and 1 both mean the calling
   * thread only. The score does not depend on it. */
  uint32_t threads;
  /* Optional: width * height floats, rows packed, receiving where the two
   * differ at full resolution (0 where they agree; larger is more visible). */
  float* difference_map;
  quorvane_metric_should_stop_fn should_stop; /* may be null */
  void* context;
} quorvane_metric_options;

/* Compares two 8-bit sRGB images of width x height pixels stored as bytes
 * R, G, B, A with `*_stride` bytes per row. Where either has alpha below 255,
 * both are composited over black and over white and the lower score is kept
 * (and its difference map): colour under full transparency does not count.
 * Images equal in every visible pixel score exactly 100.
 *
 * Memory: about 8 bytes per pixel plus half a megabyte per thread. Equal
 * inputs give the same score on every machine and with any thread count.
 * Reentrant; the caller keeps ownership of every buffer. `options` may be null.
 * Returns a QUORVANE_METRIC_ status; `*score` is written on success only. */
int32_t quorvane_ssimulacra2_rgba(const uint8_t* reference, size_t reference_stride,
                                  const uint8_t* distorted, size_t distorted_stride, uint32_t width,
                                  uint32_t height, const quorvane_metric_options* options,
                                  double* score) QUORVANE_METRIC_NOEXCEPT;

/* The same for images given as linear-light sRGB planes (R, G, B; 1.0 is
 * white; values outside 0..1 are allowed), `stride` floats per row. */
int32_t quorvane_ssimulacra2_linear(const float* const reference[3],
                                    const float* const distorted[3], size_t stride, uint32_t width,
                                    uint32_t height, const quorvane_metric_options* options,
                                    double* score) QUORVANE_METRIC_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* QUORVANE_METRIC_H */
