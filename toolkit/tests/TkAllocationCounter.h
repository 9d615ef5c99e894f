// Leak checks by counting: a test program that links TkAllocationCounter.cpp replaces the global
// operator new and delete, so every block made through them (bars, controls, strings) is counted.
#pragma once

// The blocks allocated and not yet freed.
long TkLiveBlocks();
