// The proportions of the calendar band that its drawing and the readable style share.
#pragma once

// Dates are set at a tenth of a month cell's side.
inline constexpr float kDateSizeDivisor = 10;
// A cell is divided into eighths across; a date in column k (0 to 6) is centred on the
// (k + 1)th. With the week starting on Sunday the column is the weekday.
inline constexpr int kDateColumnDivisor = 8;
