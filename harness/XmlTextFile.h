// The XML box's text as a file: one byte per character both ways. Bytes map
// to the characters U+0000 to U+00FF of the same value (Latin-1), so every
// character Save... can write comes back unchanged from Load....
#pragma once

#include <cstddef>
#include <string>

struct DecodedXmlText {
    std::wstring text;          // line ends as the box shows them: CR LF
    bool stoppedAtZero = false; // the box cannot hold a zero character
    std::size_t zeroOffset = 0; // where that byte stood in the file
};

// Read as a text-mode stream reads: a CR LF pair is one line end, a byte 0x1A
// ends the input; then every line feed becomes CR LF. A zero byte ends the
// text too, and says so.
DecodedXmlText DecodeXmlTextFile(const std::string &bytes);

struct EncodedXmlText {
    std::string bytes;
    std::size_t unencodable = 0; // characters above U+00FF and U+001A, written as '?'
};

// The box's text byte for byte as it stands (CR LF line ends, no byte order
// mark, no terminator).
EncodedXmlText EncodeXmlTextFile(const std::wstring &text);
