// The one translation unit that compiles stb_vorbis's decoder.
#include <stb_vorbis.h>
