/* The few OpenAL Soft extension names the sound layer uses, for the web
 * flavour, whose OpenAL (Emscripten's, on WebAudio) ships no alext.h. The
 * values are OpenAL Soft's; the loopback functions are looked up at run
 * time and are absent there, which the sound layer already handles. */
#pragma once

#include <AL/al.h>
#include <AL/alc.h>

#define ALC_CONNECTED 0x313
#define AL_DIRECT_CHANNELS_SOFT 0x1033
#define ALC_FORMAT_CHANNELS_SOFT 0x1990
#define ALC_FORMAT_TYPE_SOFT 0x1991
#define ALC_FLOAT_SOFT 0x1406
#define ALC_STEREO_SOFT 0x1501
#define ALC_HRTF_SOFT 0x1992
#define ALC_OUTPUT_LIMITER_SOFT 0x199A

typedef ALCdevice*(*LPALCLOOPBACKOPENDEVICESOFT)(const ALCchar*);
typedef void(*LPALCRENDERSAMPLESSOFT)(ALCdevice*, ALCvoid*, ALCsizei);
