// Wall-clock timing for the benchmarks: the median of several runs, in milliseconds.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double median_ms(int runs, const std::function<void()>& work)
{
	std::vector<double> times;
	for (int i = 0; i < runs; i++) {
		auto start = std::chrono::steady_clock::now();
		work();
		auto end = std::chrono::steady_clock::now();
		times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
	}
	std::sort(times.begin(), times.end());
	return times[times.size() / 2];
}
