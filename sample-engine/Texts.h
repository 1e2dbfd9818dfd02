// What the engine knows by heart: its printers, its paper catalog, the help
// topics, its version text and its own wording for the host's messages.
#pragma once

#include <cstddef>
#include <string>

// The three kinds of text that callers fetch by size, then by buffer.
enum class TextKind { Version, Catalog, String };

struct Paper {
    const wchar_t *name;
    const wchar_t *size;
    const wchar_t *colour;
    const wchar_t *weight;
    const wchar_t *type;
};

std::size_t PaperCount();
const Paper &PaperAt(std::size_t index);
// Names match whatever their letter case; null when none does.
const Paper *FindPaper(const std::wstring &name);

std::size_t PrinterCount();
const wchar_t *PrinterAt(std::size_t index);
const wchar_t *FindPrinter(const std::wstring &name);

const wchar_t *FindHelpTopic(const std::wstring &name);

bool SameName(const std::wstring &a, const std::wstring &b);

std::wstring VersionText();
// One paper a line, each line ended by a line feed.
std::wstring CatalogText();
// The engine's text for a host message id; null for an id it does not know.
const wchar_t *EngineString(int id);
