// Placeholder until the codec implementation lands.
#include "codec/image_codec.h"
