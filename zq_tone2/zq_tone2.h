/* zq_tone2: sound preview for the chart editor. Plays one WAV or ZQ file at a time, streaming
 * long ones through a two-second ring that the host refills by calling DSLib_Stream at least
 * every half second (a 100 ms timer does).
 *
 * Every function returns a 32-bit int: 0 for success and 1 for failure, except DSLib_Init (the
 * failing step, 1 to 6) and DSLib_ChangeStreamSec (the previous threshold). Calls must not
 * overlap: they may come from different threads only one after the other. Details of failures go to the debug output
 * only (standard error when MIRKAN_AUDIO_DEBUG is set).
 *
 * The host loads the library by name at run time (dlopen "libzq_tone2.so"); it needs
 * libzqdec.so beside it. */
#ifndef ZQ_TONE2_ZQ_TONE2_H
#define ZQ_TONE2_ZQ_TONE2_H

#include <stdint.h>

#if defined(ZQ_TONE2_BUILDING)
#define ZQ_TONE2_API __attribute__((visibility("default")))
#else
#define ZQ_TONE2_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Opens the output for the host window (may be null here): normal cooperative level, or
 * priority when bPriority is non-zero; 22050 Hz 8-bit mono output, or 44100 Hz 16-bit stereo
 * when bHighQuality is non-zero. Replaces an earlier device and its sound. 0, or the step that
 * failed: 1 device, 2 cooperative level, 3 primary buffer, 4 output format, 5 silent buffer,
 * 6 starting it. */
ZQ_TONE2_API int32_t DSLib_Init(void *hWnd, int32_t bPriority, int32_t bHighQuality);
/* Releases the device and the sound; always 0. */
ZQ_TONE2_API int32_t DSLib_Term(void);
/* Loads a sound (ZQ, else RIFF/WAVE), replacing the one loaded before. With bAllowStream
 * non-zero a sound at least as long as the threshold (whole seconds) is streamed. */
ZQ_TONE2_API int32_t DSLib_Load(const char *path, int32_t bAllowStream);
/* Plays the loaded sound once from its beginning. */
ZQ_TONE2_API int32_t DSLib_Play(void);
ZQ_TONE2_API int32_t DSLib_Stop(void);
/* Removes the loaded sound. */
ZQ_TONE2_API int32_t DSLib_Close(void);
/* Rewinds the loaded sound (a streamed sound is primed again). */
ZQ_TONE2_API int32_t DSLib_Reset(void);
/* The streaming pump; does nothing for a sound loaded whole. */
ZQ_TONE2_API int32_t DSLib_Stream(void);
/* Sets the streaming threshold in seconds for later loads (20 at first); returns the old one. */
ZQ_TONE2_API int32_t DSLib_ChangeStreamSec(uint32_t seconds);

#ifdef __cplusplus
}
#endif

#endif
