/* Colour quantiser: reduces an 8-bit RGBA image, in place, to at most a given
 * number of distinct RGB colours (Wu's method in Oklab, online k-means refinement,
 * serpentine Floyd-Steinberg dithering). Plain C interface. */
#ifndef QUORVANE_QUANTIZE_H
#define QUORVANE_QUANTIZE_H

#include <stdint.h>

#ifdef __cplusplus
#define QUORVANE_NOEXCEPT noexcept
extern "C" {
#else
#define QUORVANE_NOEXCEPT
#endif

/* Rewrites bytes R, G, B of every pixel of `pixels` (width x height pixels of
 * 4 bytes R, G, B, A, rows packed without padding) so that the image uses at most
 * `max_colors` distinct RGB triples. Byte A is never read or written.
 *
 * Returns 0 on success. Returns -1, leaving the buffer untouched, when `pixels` is
 * null, a side is 0, `max_colors` is outside 1..256, the image has 2^32 pixels or
 * more, or working memory (about 12 bytes per pixel plus 460 KB) cannot be had.
 *
 * The result depends only on the pixel bytes, the sides and `max_colors`: equal
 * inputs give byte-identical outputs on every machine. Reentrant: calls on
 * different buffers may run concurrently; the caller keeps ownership of `pixels`. */
int32_t quorvane_quantize_rgba(uint8_t* pixels, uint32_t width, uint32_t height,
                               uint32_t max_colors) QUORVANE_NOEXCEPT;

/* Asked between the stages and every few rows of the remap; a non-zero answer
 * stops the work. Called on the quantising thread. */
typedef int32_t (*quorvane_should_stop_fn)(void* context);

/* quorvane_quantize_rgba that can be stopped from another thread: when
 * `should_stop` (may be null) returns non-zero, returns -2 at once; the RGB
 * bytes may then be partly rewritten. Otherwise identical, to the byte. */
int32_t quorvane_quantize_rgba_stoppable(uint8_t* pixels, uint32_t width, uint32_t height,
                                         uint32_t max_colors, quorvane_should_stop_fn should_stop,
                                         void* context) QUORVANE_NOEXCEPT;

/* quorvane_quantize_rgba_stoppable on up to `threads` threads, the calling
 * thread included; 0 and 1 mean the calling thread alone, and counts above
 * the machine's processor count are taken as that count. The result is
 * byte-identical for every thread count. `should_stop` is asked on the
 * calling thread only, at the same points; every other thread has ended when
 * the call returns. The colour conversion and the histogram are shared out;
 * the k-means refinement and the remap stay on the calling thread (each of
 * their steps needs the one before). */
int32_t quorvane_quantize_rgba_threads(uint8_t* pixels, uint32_t width, uint32_t height,
                                       uint32_t max_colors, uint32_t threads,
                                       quorvane_should_stop_fn should_stop,
                                       void* context) QUORVANE_NOEXCEPT;

/* Reduces an 8-bit RGBA image with varying alpha to a palette of at most
 * `max_colors` (2..256) RGBA entries and one palette index per pixel. Colour and
 * alpha are quantised together, in premultiplied Oklab with alpha as a fourth
 * axis, so colour differences count less the more transparent a pixel is; the
 * remap diffuses alpha error with the colour error.
 *
 * Pixels of alpha 0 all take one entry, (0, 0, 0, 0), which is entry 0 whenever
 * the image has such a pixel; no other pixel is forced onto it. Opaque pixels
 * (alpha 255) always take opaque entries (alpha 255). `pixels` is only read.
 * `indices` receives width x height bytes (rows packed), `palette` up to
 * 4 x 256 bytes (R, G, B, A per entry) and `*palette_size` the number of
 * entries, at least 1; every index is below it.
 *
 * Returns 0 on success; -1, writing nothing, when a pointer is null, a side is
 * 0, `max_colors` is outside 2..256, the image has 2^32 pixels or more, or
 * working memory (about 20 bytes per pixel plus 7 MB) cannot be had; -2 when
 * `should_stop` (may be null; asked between the stages and every 16 rows)
 * answered non-zero, `indices` then being partly written. The result depends
 * only on the pixel bytes, the sides and `max_colors`. Reentrant. */
int32_t quorvane_quantize_rgba_alpha(const uint8_t* pixels, uint32_t width, uint32_t height,
                                     uint32_t max_colors, uint8_t* indices, uint8_t* palette,
                                     uint32_t* palette_size, quorvane_should_stop_fn should_stop,
                                     void* context) QUORVANE_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif /* QUORVANE_QUANTIZE_H */
