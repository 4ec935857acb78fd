#include "pic.h"

BRect pic;
