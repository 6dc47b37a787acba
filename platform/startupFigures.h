// Figures of this process for the start-up measurement: time since the
// kernel started it and its resident memory. Both read /proc; -1 when a
// figure cannot be read.
#pragma once

// Milliseconds since this process was started, to one clock tick (10 ms at
// the usual 100 ticks a second).
double msSinceProcessStart();

// Resident memory ("VmRSS:" of /proc/self/status), in kilobytes.
long residentKb();
