// How many windows, menus and GDI objects the host process holds: the soak
// benchmark reads it from the log each time the engine is loaded, to see
// whether a program leaks across load and free cycles.
#pragma once

#include <string>

// "handles windows=W menus=M gdi=G"
std::string HandleCountLine();
