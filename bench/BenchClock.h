// Timing for the benchmarks: the median of several figures, and of several runs' wall-clock
// time in milliseconds.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double median(std::vector<double> values)
{
	std::sort(values.begin(), values.end());
	return values[values.size() / 2];
}

inline double median_ms(int runs, const std::function<void()>& work)
{
	std::vector<double> times;
	for (int i = 0; i < runs; i++) {
		auto start = std::chrono::steady_clock::now();
		work();
		auto end = std::chrono::steady_clock::now();
		times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
	}
	return median(times);
}
