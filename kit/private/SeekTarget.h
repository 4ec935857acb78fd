// Where a seek lands, for every seekable stream of the kit: from the start (SEEK_SET), from
// the current position (SEEK_CUR) or from the end (SEEK_END; the size is asked only then).
// A negative result is the status to return: an unknown mode, a size that cannot be had,
// or a target before the start.
#pragma once

#include <cstdio>
#include <sys/types.h>

#include "SupportDefs.h"

namespace kit {

template <typename GetSize>
off_t SeekTarget(off_t position, uint32 mode, off_t current, GetSize getSize)
{
	off_t target;
	switch (mode) {
		case SEEK_SET:
			target = position;
			break;
		case SEEK_CUR:
			target = current + position;
			break;
		case SEEK_END: {
			off_t size = 0;
			status_t status = getSize(&size);
			if (status != B_OK)
				return status;
			target = size + position;
			break;
		}
		default:
			return B_BAD_VALUE;
	}
	return target < 0 ? off_t(B_BAD_VALUE) : target;
}

} // namespace kit
