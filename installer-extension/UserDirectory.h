// Where installed software keeps its data: one algorithm for 8-bit (ANSI code
// page) and 16-bit (UTF-16) strings.
#pragma once

#include "Platform.h"

#include <cstddef>

// Buffer size, in characters, of every platform query.
constexpr std::size_t kQueryBufferSize = 2048;

// Writes the chosen directory and one backslash into outDirectory and returns
// 1 when it is private to the user, 0 when all users share it. outDirectory
// must have room for it; nothing is kept between calls.
template <class Char>
int ChooseUserDirectory(const Platform<Char> &platform, Char *outDirectory, const Char *subfolder1,
                        const Char *subfolder2, const Char *userSubfolder);
