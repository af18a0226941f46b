// The caption height on the portable build: 330 twips (22 pixels at 96 dots per inch).
#include "config/platform.h"

int PlatformDefaultCaptionHeightTwips() { return 330; }
