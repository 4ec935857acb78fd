// Whether the configuration window is open: at most one exists at a time.
#pragma once

extern bool cwin;
