#include "Rect.h"

#include <cmath>

int32_t BRect::IntegerWidth() const
{
	return int32_t(std::ceil(right - left));
}

int32_t BRect::IntegerHeight() const
{
	return int32_t(std::ceil(bottom - top));
}

BRect& BRect::OffsetTo(float x, float y)
{
	right += x - left;
	bottom += y - top;
	left = x;
	top = y;
	return *this;
}

BRect& BRect::OffsetBy(float dx, float dy)
{
	left += dx;
	right += dx;
	top += dy;
	bottom += dy;
	return *this;
}

BRect& BRect::InsetBy(float dx, float dy)
{
	left += dx;
	right -= dx;
	top += dy;
	bottom -= dy;
	return *this;
}

bool BRect::Intersects(const BRect& other) const
{
	return IsValid() && other.IsValid() && left <= other.right && other.left <= right
		&& top <= other.bottom && other.top <= bottom;
}

BRect BRect::operator&(const BRect& other) const
{
	return BRect(std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
		std::min(bottom, other.bottom));
}

BRect BRect::operator|(const BRect& other) const
{
	return BRect(std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
		std::max(bottom, other.bottom));
}
