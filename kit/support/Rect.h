// Rectangles with inclusive edges: the pixel at (right, bottom) belongs to the
// rectangle, so Width() is right - left and the area covers Width() + 1 pixels across.
#pragma once

#include <algorithm>

#include "Point.h"

class BRect {
public:
	float left;
	float top;
	float right;
	float bottom;

	// The default rectangle is invalid: (0, 0, -1, -1).
	constexpr BRect() : left(0), top(0), right(-1), bottom(-1) {}
	constexpr BRect(float l, float t, float r, float b) : left(l), top(t), right(r), bottom(b) {}
	constexpr BRect(BPoint leftTop, BPoint rightBottom)
		: left(leftTop.x), top(leftTop.y), right(rightBottom.x), bottom(rightBottom.y)
	{
	}

	void Set(float l, float t, float r, float b)
	{
		left = l;
		top = t;
		right = r;
		bottom = b;
	}

	float Width() const { return right - left; }
	float Height() const { return bottom - top; }
	int32_t IntegerWidth() const;
	int32_t IntegerHeight() const;
	bool IsValid() const { return left <= right && top <= bottom; }

	BPoint LeftTop() const { return BPoint(left, top); }
	BPoint RightBottom() const { return BPoint(right, bottom); }

	BRect& OffsetTo(float x, float y);
	BRect& OffsetTo(BPoint point) { return OffsetTo(point.x, point.y); }
	BRect& OffsetBy(float dx, float dy);
	BRect& OffsetBy(BPoint delta) { return OffsetBy(delta.x, delta.y); }
	BRect OffsetToCopy(float x, float y) const
	{
		BRect copy(*this);
		return copy.OffsetTo(x, y);
	}
	BRect OffsetByCopy(float dx, float dy) const
	{
		BRect copy(*this);
		return copy.OffsetBy(dx, dy);
	}
	BRect& InsetBy(float dx, float dy);

	bool Contains(BPoint point) const
	{
		return point.x >= left && point.x <= right && point.y >= top && point.y <= bottom;
	}
	bool Intersects(const BRect& other) const;

	// Intersection and union of two rectangles.
	BRect operator&(const BRect& other) const;
	BRect operator|(const BRect& other) const;

	bool operator==(const BRect& other) const
	{
		return left == other.left && top == other.top && right == other.right
			&& bottom == other.bottom;
	}
	bool operator!=(const BRect& other) const { return !(*this == other); }
};
