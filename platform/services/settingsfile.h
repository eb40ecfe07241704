#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace contado {

// A value of the settings file: its text, and whether it is plain text at all.
struct TSettingsValue {
    std::string Text;
    bool IsText = true;
};

// The [General] section of an INI settings file, read without ever building the typed values the
// INI form can encode, so no file can make the reader allocate more than the file itself.
//
// The form read:
// - Lines end at LF, CR or CR LF; a line ending in a backslash goes on in the next one. A UTF-8 byte
//   order mark at the start is skipped.
// - Blank lines and lines starting with ';' or '#' are comments.
// - "[Name]" opens a section; "General" in any case is the section read, and so are the entries
//   before any section. Lines without '=' are ignored.
// - "name=value": blanks around both are dropped and %XX in the name stands for that byte. Of a
//   name written several times the last value counts.
// - In a value, text in double quotes is kept as it stands, blanks, commas and semicolons included.
//   Outside quotes a ';' starts a comment, a ',' makes the value a list, and blanks are kept only
//   between two other characters. Escapes: \\ \" \' \? \a \b \f \n \r \t \v, \x and hexadecimal
//   digits, \ and octal digits; any other escaped character stands for itself.
// - "@@text" is the text "@text" and "@String(text)" the text "text". "@ByteArray(...)",
//   "@Variant(...)", "@Rect(...)", "@Size(...)", "@Point(...)", "@DateTime(...)" and "@Invalid()"
//   are values of other types, and so is a list.
class TSettingsFile {
  public:
    explicit TSettingsFile(std::string contents);

    // The value of name in [General]; nullopt when the section has none.
    std::optional<TSettingsValue> Value(std::string_view name) const;

  private:
    std::string contents_;
};

}  // namespace contado
