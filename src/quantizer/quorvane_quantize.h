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
 * more, or working memory (about 12 bytes per pixel plus 330 KB) cannot be had.
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

#ifdef __cplusplus
}
#endif

#endif /* QUORVANE_QUANTIZE_H */
