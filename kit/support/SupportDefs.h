// Basic integer types, status codes and helpers shared by every kit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/types.h>

typedef int8_t int8;
typedef uint8_t uint8;
typedef int16_t int16;
typedef uint16_t uint16;
typedef int32_t int32;
typedef uint32_t uint32;
typedef int64_t int64;
typedef uint64_t uint64;

typedef int32 status_t;
typedef int64 bigtime_t;
typedef uint32 type_code;

const bigtime_t B_INFINITE_TIMEOUT = INT64_MAX;

// Builds a four-character code the way the platform writes them: 'A' 'B' 'C' 'D'
// with the first character in the most significant byte.
constexpr uint32 kit_code(const char (&text)[5])
{
	return (uint32(uint8(text[0])) << 24) | (uint32(uint8(text[1])) << 16)
		| (uint32(uint8(text[2])) << 8) | uint32(uint8(text[3]));
}

#include "Errors.h"
