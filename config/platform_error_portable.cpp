// Last error code on the portable build: the C library's errno.
#include <cerrno>

#include "config/platform_error.h"

uint32_t PlatformLastError() { return static_cast<uint32_t>(errno); }
