#include "XmlTextFile.h"

DecodedXmlText DecodeXmlTextFile(const std::string &bytes)
{
    DecodedXmlText decoded;
    decoded.text.reserve(bytes.size() + bytes.size() / 32);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(bytes[i]);
        if (byte == 0x1A)
            break;
        if (byte == 0x0D && i + 1 < bytes.size() && bytes[i + 1] == 0x0A)
            continue; // the pair reads as its line feed
        if (byte == 0x0A) {
            decoded.text += L"\r\n";
        } else if (byte == 0) {
            decoded.stoppedAtZero = true;
            decoded.zeroOffset = i;
            break;
        } else {
            decoded.text += static_cast<wchar_t>(byte);
        }
    }
    return decoded;
}

EncodedXmlText EncodeXmlTextFile(const std::wstring &text)
{
    EncodedXmlText encoded;
    encoded.bytes.reserve(text.size());
    for (wchar_t c : text) {
        // 0x1A would end the text when the file is loaded: it does not come back either.
        if (static_cast<unsigned>(c) > 0xFF || c == 0x1A) {
            encoded.bytes += '?';
            ++encoded.unencodable;
        } else {
            encoded.bytes += static_cast<char>(static_cast<unsigned char>(c));
        }
    }
    return encoded;
}
