// The last word of a program that hit a fault nothing handled: a box with
// the given text and the error icon, then the process ends. Without it such
// a program would vanish silently or hang in a dead window.
#pragma once

#include <windows.h>

#include <string>

// Runs first when a fault ends the program, on the thread that faulted,
// with the exception's code and the address it came from. It must not wait
// for anything: the program is past saving.
using FaultWitness = void (*)(DWORD code, const void *address) noexcept;

// Reports access violations at addresses that lie in no loaded module (code
// of a library freed under its own windows) as soon as they happen, and every
// other exception that reaches the top unhandled. Installing again replaces
// the texts and the witness.
void InstallFaultReport(const std::wstring &text, const std::wstring &caption, FaultWitness witness = nullptr);
// The same faults end the program with exitCode after the witness, without a
// box: for programs that nobody watches.
void InstallFaultExit(DWORD exitCode, FaultWitness witness);

// Where an address lies: "at Solvetric.dll+0x1A2B", or "in no module".
std::wstring FaultPlace(const void *address);
