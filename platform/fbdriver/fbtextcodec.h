#pragma once

#include <map>
#include <string>
#include <string_view>

struct UConverter;

namespace contado {

// Converts text between the character sets Firebird stores and the UTF-8 the driver hands to the
// layers above, through ICU converters, one of each character set kept open for the session.
//   UTF8, UNICODE_FSS and ASCII text is UTF-8 already and passes as it is.
//   OCTETS is binary and passes as it is.
//   NONE passes when it is valid UTF-8; other bytes are Windows-1252, the code page of the system's
//   original clients. Written text goes to Windows-1252 when each of its characters has a byte
//   there, else as UTF-8.
//   Any other character set is converted both ways; a character the set has no byte for fails.
class TFbTextCodec {
  public:
    static constexpr unsigned kNone = 0;
    static constexpr unsigned kOctets = 1;

    TFbTextCodec() = default;
    ~TFbTextCodec();
    TFbTextCodec(const TFbTextCodec&) = delete;
    TFbTextCodec& operator=(const TFbTextCodec&) = delete;

    // Whether text of the character set (Firebird's number, collation bits ignored) is handed on as
    // it comes.
    static bool PassesUnchanged(unsigned charSet);
    // Replaces text, stored in the character set, with its UTF-8 form.
    void ToUtf8(unsigned charSet, std::string& text);
    // Replaces UTF-8 text with its form in the character set; throws EFbDriverError when a character
    // has no form there or the text is not UTF-8.
    void FromUtf8(unsigned charSet, std::string& text);

  private:
    UConverter* Converter(unsigned charSet);

    std::map<unsigned, UConverter*> converters_;
    std::string scratch_;
};

}  // namespace contado
